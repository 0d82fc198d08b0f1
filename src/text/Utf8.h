#pragma once

// One well-formed multi-byte UTF-8 character: the import's encoding guess and
// the XML writer's character check read bytes with it.
namespace Utf8 {

// The length (2 to 4) of the well-formed multi-byte character that starts at p,
// with its code point in *code; 0 when the bytes there are no such character
// (a lead byte out of range, a missing or wrong continuation byte, an overlong
// form, a surrogate or a value past U+10FFFF).
inline int multiByteLength(const unsigned char* p, const unsigned char* end, char32_t* code)
{
    const unsigned char b = *p;
    int more = 0;
    char32_t min = 0, value = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1; min = 0x80; value = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2; min = 0x800; value = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3; min = 0x10000; value = b & 0x07;
    } else {
        return 0;
    }
    if (end - p <= more)
        return 0;
    for (int i = 1; i <= more; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code = value;
    return more + 1;
}

}  // namespace Utf8
