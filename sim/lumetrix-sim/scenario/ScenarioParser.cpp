#include "ScenarioParser.h"

#include "Tokenizer.h"

#include "sim/device/DeviceRoot.h"

#include "UIKit/UIDeviceProfile.h"
#include "Platform/RegularFile.h"
#include "UIKit/UIImageDecoder.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <cstdlib>
#include <string_view>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace sim::scenario {

namespace {

// [+-]?(digits(.digits*)?|.digits), checked by hand: a regular expression recurses once
// per character and a long enough number overflows the stack.
bool isDecimalText(std::string_view text)
{
    std::size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    std::size_t before = 0, after = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++before;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++after;
    }
    return i == text.size() && (before || after);
}

// A decimal number, or nothing when the word is not one. A number too large for a
// double comes back infinite (LineParser refuses it with its own message).
std::optional<double> parseNumber(const Token& token)
{
    if (token.quoted || !isDecimalText(token.text))
        return std::nullopt;
    return std::strtod(token.text.c_str(), nullptr);
}

// A word for a message: long ones are cut.
std::string shown(const std::string& source)
{
    constexpr std::size_t longest = 40;
    return source.size() <= longest ? source : source.substr(0, longest) + "... (" + std::to_string(source.size()) + " characters)";
}

// A single `wait` moves the clock by at most this: a day of virtual time. A longer wait
// is written as several (and a typo of many digits does not run for ever).
constexpr double kLongestWait = 86400;

std::optional<CompareOp> parseOp(const std::string& text)
{
    static const std::map<std::string, CompareOp> ops = {
        { "==", CompareOp::Equal },
        { "!=", CompareOp::NotEqual },
        { "<", CompareOp::Less },
        { "<=", CompareOp::LessEqual },
        { ">", CompareOp::Greater },
        { ">=", CompareOp::GreaterEqual },
        { "~=", CompareOp::About },
    };
    auto op = ops.find(text);
    if (op == ops.end())
        return std::nullopt;
    return op->second;
}

// Works through one line's words, with messages that say what was expected where.
class LineParser {
public:
    using FileBytes = ScenarioReader::FileBytes;

    LineParser(std::vector<Token> tokens, SourceLocation where, const fs::path& baseDirectory, const ParseOptions& options,
        FileBytes& files)
        : m_tokens(std::move(tokens))
        , m_where(std::move(where))
        , m_baseDirectory(baseDirectory)
        , m_options(options)
        , m_files(files)
    {
    }

    const std::string& name() const { return m_tokens[0].text; }
    std::size_t argumentCount() const { return m_tokens.size() - 1; }

    [[noreturn]] void fail(const std::string& message) const { throw ScenarioError(m_where, message); }

    // The line must have between `least` and `most` arguments; `usage` shows the form.
    void arguments(std::size_t least, std::size_t most, const char* usage) const
    {
        std::size_t count = argumentCount();
        if (count < least || count > most)
            fail("expected `" + std::string(usage) + "`" + (count > most ? ", got more" : ""));
    }

    const Token& argument(std::size_t index) const { return m_tokens[index + 1]; }

    double number(std::size_t index, const char* what) const
    {
        auto value = finiteNumber(argument(index));
        if (!value)
            fail("expected " + std::string(what) + " (a decimal number), got " + shown(argument(index).source));
        return *value;
    }

    // parseNumber, with a number beyond a double's range refused here.
    std::optional<double> finiteNumber(const Token& token) const
    {
        auto value = parseNumber(token);
        if (value && !std::isfinite(*value))
            fail("expected a number between -1.8e308 and 1.8e308, got " + shown(token.source));
        return value;
    }

    double nonNegative(std::size_t index, const char* what) const
    {
        double value = number(index, what);
        if (value < 0)
            fail("expected " + std::string(what) + " of zero or more, got " + argument(index).source);
        return value;
    }

    std::string word(std::size_t index, std::initializer_list<const char*> choices) const
    {
        const Token& token = argument(index);
        for (const char* choice : choices) {
            if (!token.quoted && token.text == choice)
                return choice;
        }
        std::string list;
        for (const char* choice : choices)
            list += (list.empty() ? "" : " or ") + std::string(choice);
        fail("expected " + list + ", got " + token.source);
    }

    // A setting's or an expectation's value: true, false, a number, a quoted string
    // (and null where `allowNull`).
    json value(std::size_t index, bool allowNull) const { return valueOf(argument(index), allowNull); }

    json valueOf(const Token& token, bool allowNull) const
    {
        if (token.quoted)
            return token.text;
        if (token.text == "true")
            return true;
        if (token.text == "false")
            return false;
        if (allowNull && token.text == "null")
            return nullptr;
        if (auto number = finiteNumber(token)) {
            // Whole numbers stay integers, so they are stored as a plist <integer>.
            if (token.text.find('.') == std::string::npos && std::fabs(*number) < 9e15)
                return static_cast<long long>(*number);
            return *number;
        }
        fail(std::string("expected true, false, ") + (allowNull ? "null, " : "") + "a number or a quoted string, got " + shown(token.source));
    }

    std::string bundleIdentifier(std::size_t index) const
    {
        const Token& token = argument(index);
        if (token.text.empty() || token.text.find_first_of(" \t/") != std::string::npos)
            fail("expected a bundle identifier like com.example.notes, got " + token.source);
        return token.text;
    }

    fs::path hostPath(const std::string& path) const
    {
        fs::path given(path);
        return given.is_absolute() ? given : m_baseDirectory / given;
    }

    fs::path dumpPath(const std::string& path) const
    {
        fs::path given(path);
        if (given.is_absolute() || m_options.dumpDirectory.empty())
            return hostPath(path);
        return m_options.dumpDirectory / given;
    }

    // The words from argument `first` on, as written.
    std::string remainingText(std::size_t first) const
    {
        std::string text;
        for (std::size_t i = first + 1; i < m_tokens.size(); ++i)
            text += (text.empty() ? "" : " ") + m_tokens[i].source;
        return text;
    }

    // The bytes of an artwork file, read at its first mention. No app can hand over artwork
    // the platform would not decode, so one too large is not even read, and neither is
    // anything but a regular file (a FIFO would block the run, /dev/zero never ends).
    const platform::SharedBytes& artworkBytes(const fs::path& file) const
    {
        auto known = m_files.find(file);
        if (known != m_files.end())
            return known->second;
        auto read = platform::readRegularFile(file.string(), UIImageDecoder::kMaximumEncodedBytes);
        if (read.outcome == platform::RegularFileRead::Outcome::Missing)
            fail("expected an artwork file, but " + file.string() + " does not exist");
        if (read.outcome == platform::RegularFileRead::Outcome::TooLarge)
            fail("expected an artwork file of at most 64 MiB, but " + file.string() + " " + read.problem);
        if (!read.ok())
            fail("expected an artwork file, but " + file.string() + " " + read.problem);
        return m_files.emplace(file, std::move(read.bytes)).first->second;
    }

    // The whole line as written, without its comment.
    std::string lineText() const { return m_tokens[0].source + (argumentCount() ? " " + remainingText(0) : ""); }

    const DumpShape* shape() const { return m_options.shape.get(); }

    // A settings key must be one of the ten (when the shape is known). Gives a note when
    // the value is not of the setting's type; `escape` names the command that takes any key.
    std::string settingTypeNote(const std::string& key, const nlohmann::json& value, const char* escape) const
    {
        if (!shape())
            return {};
        auto type = shape()->settingType(key);
        if (!type) {
            std::string known;
            for (auto& name : shape()->settingKeys())
                known += (known.empty() ? "" : ", ") + name;
            auto near = nearestNames(key, shape()->settingKeys());
            fail("expected a setting's key (" + known + "), got " + shown(key) + (near.empty() ? "" : " (did you mean " + near[0] + "?)")
                + (escape ? std::string("; `") + escape + " KEY VALUE` stores any key" : ""));
        }
        if (*type == "bool" && !value.is_boolean())
            return key + " is a boolean setting, given " + value.dump();
        if (*type == "object" && value.is_boolean())
            return key + " is a number setting, given " + value.dump();
        return {};
    }

    // A picture's file name, which must end in .png, resolved like a dump's.
    std::string pictureFile(std::size_t index) const
    {
        const std::string& name = argument(index).text;
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".png") != 0)
            fail("expected a picture file ending in .png, got " + shown(argument(index).source));
        return dumpPath(name).string();
    }

private:
    std::vector<Token> m_tokens;
    SourceLocation m_where;
    const fs::path& m_baseDirectory;
    const ParseOptions& m_options;
    FileBytes& m_files;
};

std::optional<std::string> optionalText(const Token& token)
{
    if (!token.quoted && token.text == "none")
        return std::nullopt;
    return token.text;
}

// `crop lockscreen` or `crop app APP` from argument `next`, when the line has it there;
// the argument after it.
std::size_t parseCrop(const LineParser& line, std::size_t next, SnapshotCommand& snapshot)
{
    if (line.argumentCount() <= next || line.argument(next).quoted || line.argument(next).text == "tolerance")
        return next;
    line.word(next, { "crop" });
    if (line.argumentCount() <= next + 1)
        line.fail("expected `crop lockscreen` or `crop app APP` after the file");
    if (line.word(next + 1, { "lockscreen", "app" }) == "lockscreen") {
        snapshot.crop = SnapshotCommand::Crop::LockScreen;
        return next + 2;
    }
    if (line.argumentCount() <= next + 2)
        line.fail("expected a bundle identifier after `crop app`");
    snapshot.crop = SnapshotCommand::Crop::App;
    snapshot.bundleIdentifier = line.bundleIdentifier(next + 2);
    return next + 3;
}

// `tolerance N` from argument `next` to the end of the line, or 0 without it.
int parseTolerance(const LineParser& line, std::size_t next, const char* usage)
{
    if (line.argumentCount() == next)
        return 0;
    if (line.argumentCount() != next + 2 || line.argument(next).quoted || line.argument(next).text != "tolerance")
        line.fail(std::string("expected `") + usage + "`, got " + line.argument(next).source);
    double tolerance = line.nonNegative(next + 1, "a tolerance per channel");
    if (tolerance > 255 || tolerance != static_cast<int>(tolerance))
        line.fail("expected a tolerance per channel from 0 to 255 (a whole number), got " + line.argument(next + 1).source);
    return static_cast<int>(tolerance);
}

// snapshot FILE.png [crop lockscreen|app APP] ["CAPTION"]
SnapshotCommand parseSnapshot(const LineParser& line)
{
    const char* usage = "snapshot FILE.png [crop lockscreen|app APP] [\"CAPTION\"]";
    line.arguments(1, 5, usage);
    SnapshotCommand snapshot;
    snapshot.hostPath = line.pictureFile(0);
    std::size_t next = parseCrop(line, 1, snapshot);
    if (line.argumentCount() > next) {
        if (!line.argument(next).quoted || line.argumentCount() > next + 1)
            line.fail(std::string("expected `") + usage + "`, got " + line.argument(next).source);
        snapshot.caption = line.argument(next).text;
    }
    return snapshot;
}

ExpectSnapshotCommand parseExpectSnapshot(const LineParser& line)
{
    const char* usage = "expect-snapshot FILE.png [crop lockscreen|app APP] [tolerance N]";
    line.arguments(1, 6, usage);
    ExpectSnapshotCommand expect;
    expect.picture.hostPath = line.pictureFile(0);
    expect.tolerance = parseTolerance(line, parseCrop(line, 1, expect.picture), usage);
    return expect;
}

ExpectCommand parseExpect(const LineParser& line)
{
    if (line.argumentCount() != 3 && line.argumentCount() != 5)
        line.fail("expected `expect PATH OP VALUE` (OP one of == != < <= > >= ~=; `~= VALUE +- TOL`)");
    ExpectCommand expect;
    expect.pathText = line.argument(0).text;
    try {
        expect.path = ExpectPath::parse(expect.pathText);
    } catch (const PathSyntaxError& error) {
        line.fail(error.what());
    }
    if (line.shape()) {
        if (auto problem = line.shape()->problem(expect.path))
            line.fail("expected a path the dump has: " + *problem);
    }
    auto op = parseOp(line.argument(1).text);
    if (!op || line.argument(1).quoted)
        line.fail("expected a comparison (== != < <= > >= ~=) after the path, got " + line.argument(1).source);
    expect.op = *op;
    expect.value = line.value(2, true);
    expect.valueText = line.argument(2).source;
    if (line.argumentCount() == 5) {
        if (expect.op != CompareOp::About || line.argument(3).text != "+-")
            line.fail("expected the line to end after the value (a tolerance `+- TOL` goes only with ~=)");
        expect.tolerance = line.nonNegative(4, "a tolerance");
        expect.valueText += " +- " + line.argument(4).source;
    }
    if (expect.op == CompareOp::About && !expect.value.is_number())
        line.fail("expected a number after ~=, got " + line.argument(2).source);
    return expect;
}

ExpectEventsCommand parseExpectEvents(const LineParser& line)
{
    if (line.argumentCount() < 2)
        line.fail("expected `expect-events FILTER... OP N` (FILTER is field=value)");
    ExpectEventsCommand expect;
    std::size_t opIndex = line.argumentCount() - 2;
    for (std::size_t i = 0; i < opIndex; ++i) {
        const Token& token = line.argument(i);
        std::size_t equals = token.source.find('=');
        if (equals == std::string::npos || equals == 0 || token.source[0] == '"')
            line.fail("expected a filter field=value, got " + token.source);
        EventFilter filter;
        filter.field = token.source.substr(0, equals);
        std::vector<Token> valueTokens;
        try {
            valueTokens = tokenizeLine(token.source.substr(equals + 1));
        } catch (const TokenizeError& error) {
            line.fail("expected a filter field=value, got " + shown(token.source) + ": " + error.what());
        }
        Token value = valueTokens.empty() ? Token { "", true, "\"\"" } : valueTokens[0];
        if (value.quoted) {
            filter.value = value.text;
        } else if (auto number = line.finiteNumber(value)) {
            filter.value = *number;
            filter.bareText = value.text;
        } else if (value.text == "true" || value.text == "false") {
            filter.value = value.text == "true";
            filter.bareText = value.text;
        } else if (value.text == "null") {
            filter.value = nullptr;
        } else {
            filter.value = value.text;
        }
        expect.filters.push_back(std::move(filter));
    }
    auto op = parseOp(line.argument(opIndex).text);
    if (!op || *op == CompareOp::About)
        line.fail("expected a comparison (== != < <= > >=) before the count, got " + line.argument(opIndex).source);
    expect.op = *op;
    expect.count = line.nonNegative(opIndex + 1, "a count of events");
    expect.text = line.remainingText(0);
    return expect;
}

TouchCommand parseTouch(const LineParser& line, TouchCommand::Gesture gesture)
{
    bool tap = gesture == TouchCommand::Gesture::Tap;
    const char* usage = tap ? "tap lockscreen X [Y]`, `tap app APP X [Y]` or `tap screen X Y"
                            : "swipe lockscreen left|right` or `swipe app APP left|right";
    if (line.argumentCount() < 1)
        line.fail("expected `" + std::string(usage) + "`");
    TouchCommand touch;
    touch.gesture = gesture;
    std::string target = tap ? line.word(0, { "lockscreen", "app", "screen" }) : line.word(0, { "lockscreen", "app" });
    std::size_t next = 1;
    if (target == "app") {
        line.arguments(tap ? 3 : 3, tap ? 4 : 3, usage);
        touch.target = TouchCommand::Target::App;
        touch.bundleIdentifier = line.bundleIdentifier(1);
        next = 2;
    } else if (target == "screen") {
        line.arguments(3, 3, usage);
        touch.target = TouchCommand::Target::Screen;
    } else {
        line.arguments(2, tap ? 3 : 2, usage);
        touch.target = TouchCommand::Target::LockScreen;
    }
    if (tap) {
        touch.x = line.number(next, "an x coordinate");
        if (line.argumentCount() > next + 1)
            touch.y = line.number(next + 1, "a y coordinate");
    } else {
        touch.direction = line.word(next, { "left", "right" }) == "left" ? TouchCommand::Direction::Left : TouchCommand::Direction::Right;
    }
    return touch;
}

CommandBody parseDevice(const LineParser& line)
{
    line.arguments(1, 8, "device NAME");
    std::string wanted = line.remainingText(0);
    if (line.argumentCount() == 1)
        wanted = line.argument(0).text;
    auto* profile = UIDeviceProfile::named(wanted);
    if (!profile) {
        std::string names;
        for (auto& known : UIDeviceProfile::all())
            names += (names.empty() ? "" : ", ") + known.name;
        line.fail("expected a device name (" + names + "), got " + wanted);
    }
    return DeviceCommand { profile->name };
}

CommandBody parseAppearance(const LineParser& line)
{
    line.arguments(1, 1, "appearance light|dark");
    return AppearanceCommand { line.word(0, { "light", "dark" }) == "dark" };
}

CommandBody parseFile(const LineParser& line)
{
    line.arguments(1, 2, "file PATH [CONTENT]");
    std::string path = line.argument(0).text;
    if (path.empty() || path[0] != '/')
        line.fail("expected an absolute device path like \"/Library/...\", got " + shown(line.argument(0).source));
    // Device paths stay inside the device root: ".." may not climb above "/".
    auto normal = DeviceRoot::normalizedDevicePath(path);
    if (!normal)
        line.fail("expected a device path inside the device root, got " + shown(line.argument(0).source) + " (it climbs above \"/\")");
    return FileCommand { *normal, line.argumentCount() > 1 ? line.argument(1).text : std::string() };
}

CommandBody parsePref(const LineParser& line)
{
    bool raw = line.name() == "pref-raw";
    line.arguments(2, 2, raw ? "pref-raw KEY VALUE" : "pref KEY VALUE");
    PrefCommand pref { line.argument(0).text, line.value(1, false), raw, {} };
    if (!raw)
        pref.typeNote = line.settingTypeNote(pref.key, pref.value, "pref-raw");
    return pref;
}

CommandBody parsePrefReset(const LineParser& line)
{
    line.arguments(0, 0, "pref-reset");
    return PrefResetCommand {};
}

CommandBody parseTrack(const LineParser& line)
{
    line.arguments(3, 5, "track TITLE ARTIST DURATION [artwork PATH|none]");
    TrackCommand track;
    track.title = optionalText(line.argument(0));
    track.artist = optionalText(line.argument(1));
    track.duration = line.nonNegative(2, "a duration in seconds");
    if (line.argumentCount() > 3) {
        line.arguments(5, 5, "track TITLE ARTIST DURATION [artwork PATH|none]");
        line.word(3, { "artwork" });
        if (auto path = optionalText(line.argument(4))) {
            fs::path file = line.hostPath(*path);
            track.artwork = line.artworkBytes(file);
        }
    }
    return track;
}

// A command that takes no arguments and always means the same thing.
template<typename Body, auto... values>
CommandBody parseBare(const LineParser& line)
{
    line.arguments(0, 0, line.name().c_str());
    return Body { values... };
}

CommandBody parseSeek(const LineParser& line)
{
    line.arguments(1, 1, "seek SECONDS");
    return SeekCommand { line.nonNegative(0, "a position in seconds") };
}

CommandBody parseApp(const LineParser& line)
{
    bool open = line.name() == "open";
    line.arguments(1, 1, open ? "open APP" : "close APP");
    return AppCommand { open, line.bundleIdentifier(0) };
}

CommandBody parseGrabber(const LineParser& line)
{
    line.arguments(1, 2, "grabber lost [TIMEOUT]` or `grabber reset");
    GrabberCommand grabber;
    grabber.lost = line.word(0, { "lost", "reset" }) == "lost";
    if (line.argumentCount() == 2) {
        if (!grabber.lost)
            line.fail("expected `grabber reset` without a timeout");
        grabber.timeout = line.nonNegative(1, "a timeout in seconds");
    }
    return grabber;
}

CommandBody parseTap(const LineParser& line)
{
    return parseTouch(line, TouchCommand::Gesture::Tap);
}

CommandBody parseSwipe(const LineParser& line)
{
    return parseTouch(line, TouchCommand::Gesture::Swipe);
}

CommandBody parseSettings(const LineParser& line)
{
    line.arguments(1, 4, "settings open|set KEY VALUE|respring|reset|snapshot FILE.png [\"CAPTION\"]|expect-snapshot FILE.png [tolerance N]");
    SettingsCommand settings;
    std::string action = line.word(0, { "open", "set", "respring", "reset", "snapshot", "expect-snapshot" });
    if (action == "expect-snapshot") {
        const char* usage = "settings expect-snapshot FILE.png [tolerance N]";
        line.arguments(2, 4, usage);
        settings.action = SettingsCommand::Action::ExpectSnapshot;
        settings.hostPath = line.pictureFile(1);
        settings.tolerance = parseTolerance(line, 2, usage);
        return settings;
    }
    if (action == "snapshot") {
        const char* usage = "settings snapshot FILE.png [\"CAPTION\"]";
        line.arguments(2, 3, usage);
        settings.action = SettingsCommand::Action::Snapshot;
        settings.hostPath = line.pictureFile(1);
        // Only a quoted word is a caption, as with `snapshot`: a stray word is a typo.
        if (line.argumentCount() == 3) {
            if (!line.argument(2).quoted)
                line.fail(std::string("expected `") + usage + "`, got " + line.argument(2).source);
            settings.caption = line.argument(2).text;
        }
        return settings;
    }
    if (action == "set") {
        line.arguments(3, 3, "settings set KEY VALUE");
        settings.action = SettingsCommand::Action::Set;
        settings.key = line.argument(1).text;
        settings.value = line.value(2, false);
        line.settingTypeNote(settings.key, settings.value, nullptr);
        return settings;
    }
    line.arguments(1, 1, ("settings " + action).c_str());
    settings.action = action == "open" ? SettingsCommand::Action::Open
        : action == "respring"         ? SettingsCommand::Action::Respring
                                       : SettingsCommand::Action::Reset;
    return settings;
}

CommandBody parseWait(const LineParser& line)
{
    line.arguments(1, 1, "wait SECONDS");
    double seconds = line.nonNegative(0, "a number of seconds");
    if (seconds > kLongestWait)
        line.fail("expected a wait of at most 86400 seconds (one day; write longer waits as several), got " + shown(line.argument(0).source));
    return WaitCommand { seconds };
}

CommandBody parseDump(const LineParser& line)
{
    line.arguments(2, 2, "dump players|screen|settings|globals|stats FILE");
    static const std::map<std::string, DumpCommand::What> kinds = {
        { "players", DumpCommand::What::Players },
        { "screen", DumpCommand::What::Screen },
        { "settings", DumpCommand::What::Settings },
        { "globals", DumpCommand::What::Globals },
        { "stats", DumpCommand::What::Stats },
    };
    std::string what = line.word(0, { "players", "screen", "settings", "globals", "stats" });
    return DumpCommand { kinds.at(what), line.dumpPath(line.argument(1).text).string() };
}

using CommandParser = CommandBody (*)(const LineParser&);

// The parsers that return their own command type, seen as any command.
template<auto parse>
CommandBody parseAny(const LineParser& line)
{
    return parse(line);
}

struct CommandRow {
    const char* name;
    CommandParser parse;
    CommandHelp help;
};

// One row per command word: its parser, its form and what it does. The parser, the
// message for an unknown word and `lumetrix-sim help scenario` all read it, so they
// cannot disagree; a new command is one row here and one function above.
const std::vector<CommandRow>& commandRows()
{
    using Action = PlayerCommand::Action;
    static const std::vector<CommandRow> rows = {
        { "device", parseDevice, { "device NAME", "the device profile (before boot; see `lumetrix-sim devices`)" } },
        { "appearance", parseAppearance, { "appearance light|dark", "the phone's appearance" } },
        { "file", parseFile, { "file PATH [CONTENT]", "a file at a device path, empty or holding the quoted CONTENT" } },
        { "pref", parsePref, { "pref KEY VALUE", "store one of the ten settings (true/false, a number or a quoted string)" } },
        { "pref-raw", parsePref, { "pref-raw KEY VALUE", "store exactly this under any key (for tests of the store)" } },
        { "pref-reset", parsePrefReset, { "pref-reset", "remove every stored setting" } },
        { "track", parseTrack, { "track TITLE ARTIST DURATION [artwork PATH|none]", "append a track to the now-playing app's queue (TITLE, ARTIST may be none)" } },
        { "play", parseBare<PlayerCommand, Action::Play>, { "play", "the now-playing app plays" } },
        { "pause", parseBare<PlayerCommand, Action::Pause>, { "pause", "the now-playing app pauses" } },
        { "next", parseBare<PlayerCommand, Action::Next>, { "next", "the next track" } },
        { "previous", parseBare<PlayerCommand, Action::Previous>, { "previous", "the previous track" } },
        { "seek", parseSeek, { "seek SECONDS", "move within the track" } },
        { "stop", parseBare<PlayerCommand, Action::Stop>, { "stop", "nothing plays and the service has no record" } },
        { "boot", parseBare<BootCommand>, { "boot", "start SpringBoard with the tweak loaded; the phone comes up locked" } },
        { "respring", parseBare<RespringCommand>, { "respring", "restart SpringBoard (a new process)" } },
        { "lock", parseBare<LockCommand, true>, { "lock", "lock the phone" } },
        { "unlock", parseBare<LockCommand, false>, { "unlock", "unlock the phone" } },
        { "open", parseApp, { "open APP", "bring an app (bundle identifier) to the front" } },
        { "close", parseApp, { "close APP", "end an app" } },
        { "grabber", parseGrabber, { "grabber lost [TIMEOUT]|reset", "the front app's home grabber loses attention (timeout 2.0) or gets it back" } },
        { "bounce", parseBare<BounceCommand>, { "bounce", "the home grabber is asked to bounce" } },
        { "tap", parseTap, { "tap lockscreen X [Y] | tap app APP X [Y] | tap screen X Y", "a tap at X, Y points in the player's 100 x 40 touch target (Y: its middle): previous below 30, "
                                                                                          "play/pause 35 to 70, next above 75; `screen`: screen points" } },
        { "swipe", parseSwipe, { "swipe lockscreen|app APP left|right", "a swipe across the player's touch target" } },
        { "settings", parseSettings, { "settings open|set KEY VALUE|respring|reset", "the Settings app working the pane as a user would" } },
        { "settings snapshot", nullptr, { "settings snapshot FILE.png [\"CAPTION\"]", "a picture of what the Settings app shows" } },
        { "settings expect-snapshot", nullptr, { "settings expect-snapshot FILE.png [tolerance N]", "compare the Settings app with a golden picture" } },
        { "wait", parseWait, { "wait SECONDS", "run the clock (at most 86400 s a line)" } },
        { "mark", parseBare<MarkCommand>, { "mark", "start a window for expect-events" } },
        { "dump", parseDump, { "dump players|screen|settings|globals|stats FILE", "a JSON snapshot" } },
        { "snapshot", parseAny<parseSnapshot>, { "snapshot FILE.png [crop lockscreen|app APP] [\"CAPTION\"]", "a picture of the screen, or of a player's region at three times device scale" } },
        { "expect", parseAny<parseExpect>, { "expect PATH OP VALUE", "a check on a dump: PATH into players (or screen., settings.), OP == != < <= > >= ~= [+- TOL]" } },
        { "expect-events", parseAny<parseExpectEvents>, { "expect-events FILTER... OP N", "count the events since the last mark that match every field=value" } },
        { "expect-snapshot", parseAny<parseExpectSnapshot>, { "expect-snapshot FILE.png [crop lockscreen|app APP] [tolerance N]", "compare the screen with a golden picture" } },
    };
    return rows;
}

CommandBody parseCommand(const LineParser& line)
{
    const std::string& name = line.name();
    for (auto& row : commandRows()) {
        if (row.parse && name == row.name)
            return row.parse(line);
    }
    std::string known;
    std::vector<std::string> names;
    for (auto& row : commandRows()) {
        if (!row.parse)
            continue;
        known += (known.empty() ? "" : ", ") + std::string(row.name);
        names.push_back(row.name);
    }
    auto near = nearestNames(name, names);
    line.fail("expected a command (" + known + "), got " + shown(name) + (near.empty() ? "" : " (did you mean " + near[0] + "?)"));
}

// Commands that need SpringBoard running, by the name a message gives them.
const char* springBoardCommandName(const CommandBody& body)
{
    if (std::holds_alternative<RespringCommand>(body))
        return "respring";
    if (auto lock = std::get_if<LockCommand>(&body))
        return lock->lock ? "lock" : "unlock";
    if (auto app = std::get_if<AppCommand>(&body))
        return app->open ? "open" : "close";
    if (std::holds_alternative<GrabberCommand>(body))
        return "grabber";
    if (std::holds_alternative<BounceCommand>(body))
        return "bounce";
    if (auto touch = std::get_if<TouchCommand>(&body))
        return touch->gesture == TouchCommand::Gesture::Tap ? "tap" : "swipe";
    if (auto snapshot = std::get_if<SnapshotCommand>(&body); snapshot && snapshot->crop != SnapshotCommand::Crop::None)
        return "snapshot ... crop";
    if (auto expect = std::get_if<ExpectSnapshotCommand>(&body); expect && expect->picture.crop != SnapshotCommand::Crop::None)
        return "expect-snapshot ... crop";
    return nullptr;
}

} // namespace

const std::vector<CommandHelp>& scenarioCommandHelp()
{
    static const std::vector<CommandHelp> help = [] {
        std::vector<CommandHelp> help;
        for (auto& row : commandRows())
            help.push_back(row.help);
        return help;
    }();
    return help;
}

ScenarioReader::ScenarioReader(std::string fileName, fs::path baseDirectory, ParseOptions options)
    : m_file(std::move(fileName))
    , m_baseDirectory(std::move(baseDirectory))
    , m_options(std::move(options))
{
}

std::optional<Command> ScenarioReader::readLine(const std::string& source, int number)
{
    SourceLocation where { m_file, number };
    if (source.size() > kLongestLine)
        throw ScenarioError(where, "expected a line of at most " + std::to_string(kLongestLine) + " bytes, got a longer one");
    // A byte-order mark, as some editors write at the start of a UTF-8 file, is no word.
    std::string_view text = source;
    if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<Token> tokens;
    try {
        tokens = tokenizeLine(text);
    } catch (const TokenizeError& error) {
        throw ScenarioError(where, error.what());
    }
    if (tokens.empty())
        return std::nullopt;
    LineParser line(std::move(tokens), where, m_baseDirectory, m_options, m_files);
    Command command { where, line.lineText(), parseCommand(line) };

    // The order rules: one boot, the device chosen before it, SpringBoard's own
    // commands only while it runs.
    if (std::holds_alternative<DeviceCommand>(command.body) && m_booted)
        line.fail("expected `device` before `boot` (the device cannot change while SpringBoard runs)");
    if (std::holds_alternative<BootCommand>(command.body)) {
        if (m_booted)
            line.fail("expected one `boot` (SpringBoard is already running; use `respring` to restart it)");
        m_booted = true;
    }
    if (const char* name = springBoardCommandName(command.body); name && !m_booted)
        line.fail("expected `boot` before `" + std::string(name) + "` (SpringBoard is not running yet)");
    return command;
}

Scenario parseScenarioText(const std::string& text, const std::string& fileName, const fs::path& baseDirectory, const ParseOptions& options)
{
    Scenario scenario;
    scenario.file = fileName;
    ScenarioReader reader(fileName, baseDirectory, options);
    std::istringstream lines(text);
    std::string source;
    for (int number = 1; std::getline(lines, source); ++number) {
        if (auto command = reader.readLine(source, number))
            scenario.commands.push_back(std::move(*command));
    }
    return scenario;
}

Scenario parseScenarioFile(const fs::path& file, const ParseOptions& options)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ScenarioError({ file.string(), 0 }, "cannot read the scenario file");
    std::stringstream text;
    text << in.rdbuf();
    return parseScenarioText(text.str(), file.string(), file.parent_path(), options);
}

} // namespace sim::scenario
