// lumetrix-colour: the average colour of artwork files, worked out by the code SpringBoard
// runs (ColourWorker.cpp, in libsimcolour.so: the platform's decoders and the tweak, which
// that library carries linked in).
//
// Start-up is most of what one file costs. So one process colours any number of files, and
// this program is only the front: it answers the options, and refuses a file whose first
// bytes claim no image format itself. The worker library, which brings the C++ platform,
// is loaded at the first file that may be an image, or whose trouble the platform's
// reader must name. The program uses nothing but the C library (it is linked as C, so a
// use of the C++ library does not link), and a call that colours nothing starts as fast as
// a small C program.

#include "ColourWorker.h"
#include "LumetrixVersion.h"
#include "UIKit/UIImageDecoder.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "usage: lumetrix-colour [--help] [--version] FILE...\n"
                               "\n"
                               "Prints the average colour of each PNG or JPEG artwork file as the players\n"
                               "get it: \"R G B #RRGGBB\" (0 to 255 each) for a single FILE, \"FILE R G B #RRGGBB\"\n"
                               "a line for several. A FILE of - reads file names from standard input, one a\n"
                               "line. A file that gives no colour gets an error line on standard error and\n"
                               "the others go on.\n"
                               "\n"
                               "Exit status: 0 when every file gave a colour, 1 when any did not, 2 for bad\n"
                               "usage or when the tweak cannot be loaded.\n";

// Whether a file is plainly no image: a regular file within the artwork limit, readable,
// whose first bytes claim neither PNG nor JPEG. Anything else goes to the worker, whose
// reader says what is in the way in the platform's words. Opened as the platform's reader
// opens it, so a FIFO or a device never blocks here either.
bool plainlyNoImage(const char* file)
{
    int descriptor = ::open(file, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return false;
    struct stat status {};
    unsigned char head[UIImageDecoder::kSignatureBytes];
    ssize_t length = -1;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && static_cast<unsigned long long>(status.st_size) <= UIImageDecoder::kMaximumEncodedBytes)
        length = ::pread(descriptor, head, sizeof head, 0);
    ::close(descriptor);
    return length >= 0 && !UIImageDecoder::formatOf(head, static_cast<size_t>(length));
}

class Colourer {
public:
    explicit Colourer(bool namePrefix)
        : m_namePrefix(namePrefix)
    {
    }

    // False once the tweak cannot be loaded: the run ends there.
    bool colour(const char* file)
    {
        // Once the worker is loaded, it looks at the first bytes itself: a second look here
        // would only open each file twice.
        if (!m_worker && plainlyNoImage(file)) {
            fflush(stdout);
            fprintf(stderr, "lumetrix-colour: %s: no colour: %s\n", file, LUMETRIX_COLOUR_NOT_AN_IMAGE);
            m_allColoured = false;
            return true;
        }
        int outcome = worker()(file, m_namePrefix);
        m_allColoured &= outcome == LumetrixColourPrinted;
        return outcome != LumetrixColourNoTweak;
    }

    bool allColoured() const { return m_allColoured; }

private:
    // The worker library, in the folder this program's RUNPATH names ($ORIGIN/../lib/lumetrix),
    // by its whole path: a dlopen that an interposer makes on the program's behalf (a
    // sanitizer's runtime does) would search that library's paths instead. A tree without it
    // cannot colour anything: that is a broken install, said and exit 2.
    LumetrixColourFile worker()
    {
        if (m_worker)
            return m_worker;
        char path[4096];
        ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
        path[length > 0 ? length : 0] = '\0';
        char* slash = strrchr(path, '/');
        constexpr const char* kBesidePlatform = "/../lib/lumetrix/" LUMETRIX_COLOUR_LIBRARY;
        if (slash && static_cast<size_t>(slash - path) + strlen(kBesidePlatform) < sizeof path)
            strcpy(slash, kBesidePlatform);
        else
            strcpy(path, LUMETRIX_COLOUR_LIBRARY);
        void* library = dlopen(path, RTLD_LAZY | RTLD_GLOBAL);
        void* entry = library ? dlsym(library, LUMETRIX_COLOUR_ENTRY) : nullptr;
        if (!entry) {
            const char* why = dlerror();
            fflush(stdout);
            fprintf(stderr, "lumetrix-colour: cannot load %s: %s\n", LUMETRIX_COLOUR_LIBRARY, why ? why : "not found");
            exit(2);
        }
        m_worker = reinterpret_cast<LumetrixColourFile>(entry);
        return m_worker;
    }

    bool m_namePrefix;
    bool m_allColoured = true;
    LumetrixColourFile m_worker = nullptr;
};

// Colours the names on standard input, one a line; false once the run must end.
bool colourNamesFromInput(Colourer& colourer)
{
    char* line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    bool goOn = true;
    while (goOn && (length = ::getline(&line, &capacity, stdin)) >= 0) {
        if (length > 0 && line[length - 1] == '\n')
            line[--length] = '\0';
        if (length > 0)
            goOn = colourer.colour(line);
    }
    free(line);
    return goOn;
}

} // namespace

int main(int argc, char** argv)
{
    // The options first: help and version answer alone, an unknown option is bad usage.
    // "--" ends the options; every other argument is a file.
    int files = 0;
    const char* onlyFile = nullptr;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!optionsEnded && (!strcmp(argument, "--help") || !strcmp(argument, "-h"))) {
            fputs(kUsage, stdout);
            return 0;
        }
        if (!optionsEnded && !strcmp(argument, "--version")) {
            printf("lumetrix-colour %s\n", LUMETRIX_VERSION);
            return 0;
        }
        if (!optionsEnded && !strcmp(argument, "--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument[0] == '-' && argument[1] != '\0') {
            fprintf(stderr, "lumetrix-colour: unknown option %s\n%s", argument, kUsage);
            return 2;
        }
        ++files;
        onlyFile = argument;
    }
    if (!files) {
        fputs(kUsage, stderr);
        return 2;
    }

    // Exactly one file named on the command line keeps the bare colour line; anything
    // that may be several names each line.
    Colourer colourer(files > 1 || !strcmp(onlyFile, "-"));
    optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!optionsEnded && !strcmp(argument, "--")) {
            optionsEnded = true;
            continue;
        }
        bool goOn = !strcmp(argument, "-") ? colourNamesFromInput(colourer) : colourer.colour(argument);
        if (!goOn)
            return 2;
    }
    return colourer.allColoured() ? 0 : 1;
}
