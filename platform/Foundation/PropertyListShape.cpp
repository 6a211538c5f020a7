#include "PropertyListShape.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace platform {

namespace {

// A binary list's objects, expanded as a tree, may not exceed this many: references let a
// small file stand for an exponentially large tree (each level referring twice to the next).
constexpr std::uint64_t maximumExpandedObjects = 1 << 20;

std::uint64_t bigEndian(const std::uint8_t* bytes, unsigned width)
{
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

class BinaryShape {
public:
    BinaryShape(const std::uint8_t* bytes, std::size_t size)
        : m_bytes(bytes)
        , m_size(size)
    {
    }

    std::string problem(unsigned maximumDepth)
    {
        if (m_size < 8 + 32)
            return "a binary property list too short for its trailer";
        const std::uint8_t* trailer = m_bytes + m_size - 32;
        m_offsetWidth = trailer[6];
        m_referenceWidth = trailer[7];
        std::uint64_t count = bigEndian(trailer + 8, 8);
        std::uint64_t top = bigEndian(trailer + 16, 8);
        m_tableOffset = bigEndian(trailer + 24, 8);
        if (m_offsetWidth < 1 || m_offsetWidth > 8 || m_referenceWidth < 1 || m_referenceWidth > 8)
            return "a binary property list with impossible offset sizes";
        std::uint64_t tableRoom = m_size - 32;
        if (m_tableOffset < 8 || m_tableOffset > tableRoom || count == 0 || count > (tableRoom - m_tableOffset) / m_offsetWidth)
            return "a binary property list whose offset table lies outside the file";
        if (top >= count)
            return "a binary property list whose top object does not exist";

        // Depth-first without recursion: each frame is an object and how many of its
        // references have been followed.
        enum : std::uint8_t {
            Unseen,
            Open,
            Done
        };
        std::vector<std::uint8_t> state(count, Unseen);
        std::vector<std::uint32_t> height(count, 0);
        std::vector<std::uint64_t> expanded(count, 0);
        struct Frame {
            std::uint64_t object;
            Object shape;
            std::uint64_t next;
        };
        std::vector<Frame> stack;
        auto enter = [&](std::uint64_t object, std::string& why) {
            Object shape;
            if (!describe(object, shape, why))
                return false;
            state[object] = Open;
            stack.push_back({ object, shape, 0 });
            if (stack.size() > maximumDepth + 1) {
                why = "nested too deeply";
                return false;
            }
            return true;
        };
        std::string why;
        if (!enter(top, why))
            return why;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next < frame.shape.references) {
                bool isKey = frame.shape.keys > frame.next;
                std::uint64_t child = reference(frame.shape.firstReference, frame.next++);
                if (child >= count)
                    return "a binary property list that refers to an object it does not have";
                // The library asserts (and so aborts) on a key that is not a string, or
                // holds a NUL.
                if (isKey && !isPlainKey(child))
                    return "a binary property list with a dictionary key that is not a string";
                if (state[child] == Open)
                    return "a binary property list with an object that contains itself";
                if (state[child] == Unseen && !enter(child, why))
                    return why;
                continue;
            }
            // Every child is done: this object's height and tree size follow from theirs.
            std::uint32_t tallest = 0;
            std::uint64_t size = 1;
            for (std::uint64_t i = 0; i < frame.shape.references; ++i) {
                std::uint64_t child = reference(frame.shape.firstReference, i);
                tallest = std::max(tallest, height[child]);
                size += expanded[child];
                if (size > maximumExpandedObjects)
                    return "a binary property list that refers to its objects too many times over";
            }
            height[frame.object] = tallest + 1;
            expanded[frame.object] = size;
            state[frame.object] = Done;
            stack.pop_back();
            if (height[top] > maximumDepth + 1)
                return "nested too deeply";
        }
        return {};
    }

private:
    struct Object {
        std::uint64_t firstReference = 0; // byte offset of its reference list
        std::uint64_t references = 0;
        std::uint64_t keys = 0; // a dictionary's first `keys` references are its keys
    };

    // A string object (ASCII, UTF-16 or UTF-8) with no NUL in it. Called once describe()
    // has been, or will be, checked for the same object: bounds are checked here too.
    bool isPlainKey(std::uint64_t object) const
    {
        std::uint64_t offset = bigEndian(m_bytes + m_tableOffset + object * m_offsetWidth, m_offsetWidth);
        if (offset < 8 || offset >= m_tableOffset)
            return false;
        std::uint8_t marker = m_bytes[offset];
        unsigned kind = marker >> 4;
        if (kind != 0x5 && kind != 0x6 && kind != 0x7)
            return false;
        std::uint64_t at = offset + 1;
        std::uint64_t count = marker & 0xF;
        if (count == 0xF) {
            if (at >= m_tableOffset)
                return false;
            std::uint8_t intMarker = m_bytes[at++];
            unsigned width = 1u << (intMarker & 0xF);
            if ((intMarker >> 4) != 0x1 || width > 8 || width > m_tableOffset - at)
                return false;
            count = bigEndian(m_bytes + at, width);
            at += width;
        }
        unsigned unit = kind == 0x6 ? 2 : 1;
        if (count > (m_tableOffset - at) / unit)
            return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            bool zero = true;
            for (unsigned b = 0; b < unit; ++b)
                zero = zero && m_bytes[at + i * unit + b] == 0;
            if (zero)
                return false;
        }
        return true;
    }

    std::uint64_t reference(std::uint64_t first, std::uint64_t index) const
    {
        return bigEndian(m_bytes + first + index * m_referenceWidth, m_referenceWidth);
    }

    // Checks that the object's bytes lie before the offset table and, for a collection,
    // says where its references are.
    bool describe(std::uint64_t object, Object& shape, std::string& why) const
    {
        std::uint64_t offset = bigEndian(m_bytes + m_tableOffset + object * m_offsetWidth, m_offsetWidth);
        if (offset < 8 || offset >= m_tableOffset) {
            why = "a binary property list with an object outside the file";
            return false;
        }
        const std::uint64_t end = m_tableOffset;
        std::uint8_t marker = m_bytes[offset];
        unsigned kind = marker >> 4;
        unsigned info = marker & 0xF;
        std::uint64_t at = offset + 1;
        auto fits = [&](std::uint64_t length) {
            if (length > end - at) {
                why = "a binary property list with an object that runs past its end";
                return false;
            }
            return true;
        };
        // Collections, strings and data carry a count, inline or as a following integer.
        auto readCount = [&](std::uint64_t& count) {
            if (info != 0xF) {
                count = info;
                return true;
            }
            if (!fits(1))
                return false;
            std::uint8_t intMarker = m_bytes[at++];
            unsigned width = 1u << (intMarker & 0xF);
            if ((intMarker >> 4) != 0x1 || width > 8 || !fits(width)) {
                why = "a binary property list with a malformed length";
                return false;
            }
            count = bigEndian(m_bytes + at, width);
            at += width;
            return true;
        };
        std::uint64_t count = 0;
        switch (kind) {
        case 0x0:
            return true;
        case 0x1:
            if (info > 4 || !fits(1ull << info)) {
                if (why.empty())
                    why = "a binary property list with a malformed integer";
                return false;
            }
            return true;
        case 0x2:
            if ((info != 2 && info != 3) || !fits(1ull << info)) {
                if (why.empty())
                    why = "a binary property list with a malformed real";
                return false;
            }
            return true;
        case 0x3:
            if (info != 3 || !fits(8)) {
                if (why.empty())
                    why = "a binary property list with a malformed date";
                return false;
            }
            return true;
        case 0x4:
        case 0x5:
        case 0x7:
            return readCount(count) && fits(count);
        case 0x6:
            // UTF-16: two bytes a unit (the count is checked first so doubling cannot overflow).
            return readCount(count) && fits(std::min<std::uint64_t>(count, end)) && fits(count * 2);
        case 0x8:
            return fits(info + 1);
        case 0xA:
        case 0xC:
        case 0xD: {
            if (!readCount(count))
                return false;
            std::uint64_t references = kind == 0xD ? count * 2 : count;
            if (count > end || !fits(references * m_referenceWidth))
                return false;
            shape = { at, references, kind == 0xD ? count : 0 };
            return true;
        }
        default:
            why = "a binary property list with an object of an unknown kind";
            return false;
        }
    }

    const std::uint8_t* m_bytes;
    std::size_t m_size;
    unsigned m_offsetWidth = 0;
    unsigned m_referenceWidth = 0;
    std::uint64_t m_tableOffset = 0;
};

bool digits(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    value = 0;
    if (at + count > text.size())
        return false;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// YYYY-MM-DDTHH:MM:SSZ with a year of one to four digits (the library writes years
// before 1000 unpadded); anything else the library would read as some other date.
bool isPropertyListDate(std::string_view text)
{
    std::size_t yearDigits = 0;
    while (yearDigits < text.size() && text[yearDigits] >= '0' && text[yearDigits] <= '9')
        ++yearDigits;
    if (yearDigits < 1 || yearDigits > 4)
        return false;
    std::string_view rest = text.substr(yearDigits);
    int month, day, hour, minute, second;
    return rest.size() == 16 && rest[0] == '-' && digits(rest, 1, 2, month) && rest[3] == '-' && digits(rest, 4, 2, day)
        && rest[6] == 'T' && digits(rest, 7, 2, hour) && rest[9] == ':' && digits(rest, 10, 2, minute) && rest[12] == ':'
        && digits(rest, 13, 2, second) && rest[15] == 'Z' && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23
        && minute <= 59 && second <= 60;
}

std::string xmlShapeProblem(std::string_view text, unsigned maximumDepth)
{
    // The <plist> element and the root's own element sit above the root object.
    const std::size_t deepest = maximumDepth + 2;
    std::size_t depth = 0;
    std::size_t i = 0;
    auto skipPast = [&](std::string_view end) {
        std::size_t found = text.find(end, i);
        if (found == std::string_view::npos)
            return false;
        i = found + end.size();
        return true;
    };
    while ((i = text.find('<', i)) != std::string_view::npos) {
        std::string_view rest = text.substr(i);
        if (rest.starts_with("<!--")) {
            if (!skipPast("-->"))
                return "not a property list (an unterminated comment)";
            continue;
        }
        if (rest.starts_with("<![CDATA[")) {
            if (!skipPast("]]>"))
                return "not a property list (an unterminated CDATA section)";
            continue;
        }
        if (rest.starts_with("<?")) {
            if (!skipPast("?>"))
                return "not a property list (an unterminated processing instruction)";
            continue;
        }
        // A tag or a declaration: up to its '>', past quoted text and, in a declaration,
        // its bracketed internal subset.
        bool declaration = rest.starts_with("<!");
        bool closing = rest.starts_with("</");
        char quote = 0;
        int brackets = 0;
        std::size_t end = i + 1;
        for (; end < text.size(); ++end) {
            char c = text[end];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (declaration && c == '[') {
                ++brackets;
            } else if (declaration && c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                break;
            }
        }
        if (end >= text.size())
            return "not a property list (an unterminated tag)";
        bool selfClosing = text[end - 1] == '/';
        std::string_view tag = text.substr(i, end - i + 1);
        i = end + 1;
        if (declaration)
            continue;
        if (closing) {
            depth -= depth ? 1 : 0;
            continue;
        }
        if (tag.starts_with("<date")) {
            if (selfClosing)
                return "a date with no value";
            std::size_t close = text.find('<', i);
            std::string_view value = text.substr(i, close == std::string_view::npos ? std::string_view::npos : close - i);
            while (!value.empty() && (value.front() == ' ' || value.front() == '\n' || value.front() == '\t' || value.front() == '\r'))
                value.remove_prefix(1);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\n' || value.back() == '\t' || value.back() == '\r'))
                value.remove_suffix(1);
            if (tag.size() >= 6 && (tag[5] == '>' || tag[5] == ' ') && !isPropertyListDate(value))
                return "a date that is not written YYYY-MM-DDTHH:MM:SSZ (" + std::string(value.substr(0, 40)) + ")";
        }
        if (!selfClosing && ++depth > deepest)
            return "nested too deeply";
    }
    return {};
}

} // namespace

std::string propertyListShapeProblem(const std::uint8_t* bytes, std::size_t size, unsigned maximumDepth)
{
    if (size >= 8 && std::memcmp(bytes, "bplist00", 8) == 0)
        return BinaryShape(bytes, size).problem(maximumDepth);
    return xmlShapeProblem(std::string_view(reinterpret_cast<const char*>(bytes), size), maximumDepth);
}

} // namespace platform
