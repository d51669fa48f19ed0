#pragma once
// Deterministic numbers for the sample-data generators: splitmix64, small,
// fast and the same sequence on every platform (the standard distributions
// are not).

#include <QtGlobal>

namespace fm::sample {

inline quint64 mix(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// A value that depends only on its inputs (a customer and a product, say), so
// that rows generated apart agree without storing either.
inline quint64 hashOf(quint64 a, quint64 b, quint64 salt)
{
    return mix(mix(mix(salt) ^ a) ^ b);
}

} // namespace fm::sample
