#include "runtime_symbols.hpp"

#include <cstdint>
#include <cstring>

namespace quillora::pack {
namespace {

// A little-endian number of `size` bytes at `offset`; 0 past the end.
std::uint64_t Read(std::string_view image, std::uint64_t offset, std::size_t size)
{
    if (offset > image.size() || image.size() - offset < size) {
        return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(image[offset + i]);
    }
    return value;
}

constexpr std::uint32_t SymbolTableType = 2;  // SHT_SYMTAB

}  // namespace

bool CarriesSymbols(std::string_view image)
{
    if (image.size() < 64 ||
        !image.starts_with("\x7F"
                           "ELF") ||
        image[5] != 1) {
        return false;
    }
    const bool wide = image[4] == 2;  // ELFCLASS64
    const std::size_t word = wide ? 8 : 4;
    const std::uint64_t table = Read(image, wide ? 0x28 : 0x20, word);
    const std::uint64_t entry_size = Read(image, wide ? 0x3A : 0x2E, 2);
    const std::uint64_t count = Read(image, wide ? 0x3C : 0x30, 2);
    const std::uint64_t names_index = Read(image, wide ? 0x3E : 0x32, 2);
    if (table == 0 || entry_size < (wide ? 64u : 40u) || names_index >= count) {
        return false;
    }
    const auto section = [&](std::uint64_t index) { return table + index * entry_size; };
    // sh_offset lies after sh_name, sh_type, sh_flags and sh_addr.
    const std::uint64_t names = Read(image, section(names_index) + 8 + 2 * word, word);
    for (std::uint64_t index = 0; index < count; ++index) {
        const std::uint64_t at = section(index);
        if (Read(image, at + 4, 4) == SymbolTableType) {
            return true;
        }
        const std::uint64_t name = names + Read(image, at, 4);
        constexpr std::string_view Debug = ".debug_";
        if (name < image.size() && image.substr(name, Debug.size()) == Debug) {
            return true;
        }
    }
    return false;
}

}  // namespace quillora::pack
