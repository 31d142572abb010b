// Shared by the fuzz targets: a reader that takes fields from the front of the
// input (so seeds can be written field by field) and a check that stops the
// run with the failing condition, leaving the input behind as a crash file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(cond)                                                           \
    do {                                                                           \
        if (!(cond)) {                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                         #cond);                                                   \
            std::abort();                                                          \
        }                                                                          \
    } while (0)

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_pData(data), m_nLeft(size) {}

    size_t Left() const { return m_nLeft; }

    // Little-endian; missing bytes read as zero.
    template <typename T>
    T Take()
    {
        uint8_t bytes[sizeof(T)] = {};
        TakeInto(bytes, sizeof(T));
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    bool TakeBool() { return (Take<uint8_t>() & 1) != 0; }

    // Copies up to n bytes into out, zero-filling what the input lacks.
    void TakeInto(void* out, size_t n)
    {
        size_t k = n < m_nLeft ? n : m_nLeft;
        std::memcpy(out, m_pData, k);
        std::memset(static_cast<uint8_t*>(out) + k, 0, n - k);
        m_pData += k;
        m_nLeft -= k;
    }

    // A text of arbitrary bytes: a length byte pair, then that many bytes.
    // Returns the bytes in place (not terminated) and their count.
    const uint8_t* TakeBlob(size_t maxLength, size_t* length)
    {
        size_t n = Take<uint16_t>() % (maxLength + 1);
        if (n > m_nLeft)
            n = m_nLeft;
        const uint8_t* start = m_pData;
        m_pData += n;
        m_nLeft -= n;
        *length = n;
        return start;
    }

private:
    const uint8_t* m_pData;
    size_t         m_nLeft;
};

// A fixed-size text field as the platform hands it over: the bytes are cut to
// the field, and the last byte of the field is always the terminator.
inline void TrimIntoField(const uint8_t* bytes, size_t length, char* field, size_t fieldSize)
{
    size_t n = length < fieldSize - 1 ? length : fieldSize - 1;
    std::memcpy(field, bytes, n);
    std::memset(field + n, 0, fieldSize - n);
}
