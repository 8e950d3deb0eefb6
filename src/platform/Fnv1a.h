#pragma once
// FNV-1a, the one fingerprint of the program: one pass, nothing to allocate.
// 64 bits name a file's bytes (the counts file in the journal's mark, the
// learner's folder) and a bank key; 32 bits check a journal row. Each user
// feeds it the units it needs (bytes, UTF-16 units, a length).
#include <cstdint>
#include <string_view>

namespace Platform {

template <class Word, Word Offset, Word Prime>
class Fnv1a {
public:
    constexpr void Add(Word unit) { hash_ = (hash_ ^ unit) * Prime; }
    constexpr void AddBytes(std::string_view bytes)
    {
        for (const char c : bytes)
            Add(static_cast<unsigned char>(c));
    }
    constexpr Word Value() const { return hash_; }

private:
    Word hash_ = Offset;
};

using Fnv1a64 = Fnv1a<std::uint64_t, 14695981039346656037ull, 1099511628211ull>;
using Fnv1a32 = Fnv1a<std::uint32_t, 2166136261u, 16777619u>;

} // namespace Platform
