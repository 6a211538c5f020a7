#pragma once
// Reads the send-site records (objc/message.h) out of a built shared library: every
// message its code sends with objc_send / objc_sendToClass, with the receiver's static
// class and the encoding it is sent with, whether or not that code ever runs.

#include "objc/message.h"

#include <elf.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace testing_support {

struct SentMessage {
    char kind; // '-' instance, '+' class
    std::string receiver;
    std::string selector;
    std::string types;

    bool operator<(const SentMessage& other) const
    {
        return std::tie(kind, receiver, selector, types) < std::tie(other.kind, other.receiver, other.selector, other.types);
    }
    std::string text() const { return std::string(1, kind) + "[" + receiver + " " + selector + "] " + types; }
};

// The records in the library's symbol tables (dynamic and, when present, full). Empty for
// a file that is not a 64-bit ELF library.
inline std::set<SentMessage> messagesSentBy(const std::filesystem::path& library)
{
    std::ifstream file(library, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::set<SentMessage> messages;
    if (bytes.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0 || bytes[EI_CLASS] != ELFCLASS64)
        return messages;
    auto header = reinterpret_cast<const Elf64_Ehdr*>(bytes.data());
    if (header->e_shoff + header->e_shnum * sizeof(Elf64_Shdr) > bytes.size())
        return messages;
    auto sections = reinterpret_cast<const Elf64_Shdr*>(bytes.data() + header->e_shoff);
    // The bytes at a virtual address, from the section that holds it in the file.
    auto bytesAt = [&](Elf64_Addr address, std::size_t size) -> const char* {
        for (unsigned i = 0; i < header->e_shnum; ++i) {
            const Elf64_Shdr& section = sections[i];
            if (section.sh_type == SHT_NOBITS || !section.sh_addr)
                continue;
            if (address >= section.sh_addr && address + size <= section.sh_addr + section.sh_size && section.sh_offset + (address - section.sh_addr) + size <= bytes.size())
                return bytes.data() + section.sh_offset + (address - section.sh_addr);
        }
        return nullptr;
    };
    for (unsigned i = 0; i < header->e_shnum; ++i) {
        const Elf64_Shdr& table = sections[i];
        if ((table.sh_type != SHT_DYNSYM && table.sh_type != SHT_SYMTAB) || table.sh_link >= header->e_shnum)
            continue;
        const Elf64_Shdr& strings = sections[table.sh_link];
        auto symbols = reinterpret_cast<const Elf64_Sym*>(bytes.data() + table.sh_offset);
        std::size_t count = table.sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 0; s < count; ++s) {
            const Elf64_Sym& symbol = symbols[s];
            if (symbol.st_name >= strings.sh_size || symbol.st_size != sizeof(objc::SendSite))
                continue;
            std::string name = bytes.data() + strings.sh_offset + symbol.st_name;
            if (name.find("SendSiteRecord") == std::string::npos || name.size() < 6 || name.compare(name.size() - 6, 6, "4siteE") != 0)
                continue;
            const char* data = bytesAt(symbol.st_value, sizeof(objc::SendSite));
            if (!data)
                continue;
            objc::SendSite site;
            std::memcpy(&site, data, sizeof site);
            messages.insert({ site.kind, std::string(site.receiver, strnlen(site.receiver, sizeof site.receiver)),
                std::string(site.selector, strnlen(site.selector, sizeof site.selector)), std::string(site.types, strnlen(site.types, sizeof site.types)) });
        }
    }
    return messages;
}

} // namespace testing_support
