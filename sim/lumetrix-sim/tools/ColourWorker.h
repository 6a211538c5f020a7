#pragma once
// The part of lumetrix-colour that works out a colour: the platform, its decoders and the
// tweak. It lives in libsimcolour.so, which carries the platform and the tweak linked in
// (sim/CMakeLists.txt), and the program loads it at the first file that may be an image
// (ColourTool.cpp), so a call that colours nothing never loads the C++ platform. Its one
// entry is plain C, the only ABI the program knows.

extern "C" {

// What lumetrix_colour_file did with a file.
enum LumetrixColourOutcome {
    LumetrixColourPrinted = 0, // the colour line is on standard output
    LumetrixColourNone = 1, // the file's error line is on standard error; go on with the next
    LumetrixColourNoTweak = 2, // the tweak cannot be loaded (said on standard error): stop
};

// Colours `file`, printing "R G B #RRGGBB" (after "FILE " when `namePrefix`) or the
// file's error line. Nothing about one file, an exception included, escapes.
int lumetrix_colour_file(const char* file, int namePrefix);

using LumetrixColourFile = int (*)(const char* file, int namePrefix);
}

// The worker library's file name and the entry the program looks up in it.
#define LUMETRIX_COLOUR_LIBRARY "libsimcolour.so"
#define LUMETRIX_COLOUR_ENTRY "lumetrix_colour_file"
// Why a file that the decoders refuse, or that is no image at all, has no colour.
#define LUMETRIX_COLOUR_NOT_AN_IMAGE "not a PNG or JPEG image that decodes within the artwork limits"
