#pragma once
// A 64-bit hash of a text, for counting distinct texts without holding them and for the hash
// maps of the diagnosis's hot path: a million texts collide with a chance of about one in ten
// million. Qt's qHash of a string is SipHash without a seed (std::hash) and costs several times
// this multiply-mix over eight bytes at a time, finished as MurmurHash3's 64-bit mix.
#include <QString>
#include <QStringView>
#include <cstring>

inline quint64 TextHash64(QStringView text) noexcept
{
    constexpr quint64 kMul = 0x9e3779b97f4a7c15ull, kMix1 = 0xff51afd7ed558ccdull, kMix2 = 0xc4ceb9fe1a85ec53ull;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = size_t(text.size()) * sizeof(char16_t);
    quint64 h = kMul ^ (quint64(n) * kMix1);
    const auto mix = [&](quint64 k) {
        k *= kMix2;
        k = (k << 31) | (k >> 33);
        h = ((h ^ k) * kMul) + 0x52dce729u;
        h = (h << 27) | (h >> 37);
    };
    for (; n >= 8; p += 8, n -= 8) {
        quint64 k;
        std::memcpy(&k, p, 8);
        mix(k);
    }
    if (n > 0) {
        quint64 k = 0;
        std::memcpy(&k, p, n);
        mix(k ^ (quint64(n) << 56));
    }
    h ^= h >> 33;
    h *= kMix1;
    h ^= h >> 33;
    h *= kMix2;
    h ^= h >> 33;
    return h;
}

// For std::unordered_map<QString, ...> on the hot path. Not noexcept on purpose: libstdc++ then
// keeps each key's hash in its node, so a lookup passes the other keys of a bucket by their
// hashes instead of hashing them again and comparing their texts.
// Transparent: a map keyed with std::equal_to<> is searched with a view, no text built.
struct TextHasher
{
    using is_transparent = void;
    size_t operator()(const QString& text) const { return size_t(TextHash64(text)); }
    size_t operator()(QStringView text) const { return size_t(TextHash64(text)); }
};
