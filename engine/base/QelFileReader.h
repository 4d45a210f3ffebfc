#pragma once
// Little-endian reads from a file object loaded whole (OpenRead), for the
// engine's binary caches. A read past the end throws QelFileDamaged naming
// what was being read; arrays arrive in pieces, so a count that a damaged
// file inflates costs no more memory than the file really holds.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/base/QelFileIO.h"

class QelFileDamaged : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class QelFileReader {
public:
    explicit QelFileReader(QelFileIO& file) : file_(file) {}

    void Bytes(void* destination, int32_t count, const char* what)
    {
        int32_t copied = 0;
        if (!file_.ReadBuffered(destination, count, copied))
            throw QelFileDamaged(std::string("the file ends inside ") + what);
    }

    template <typename Value>
    Value Read(const char* what)
    {
        uint8_t bytes[sizeof(Value)];
        Bytes(bytes, sizeof(Value), what);
        uint64_t bits = 0;
        for (size_t i = 0; i < sizeof(Value); ++i)
            bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
        Value value;
        std::memcpy(&value, &bits, sizeof(Value));
        return value;
    }

    // count elements of fixed-size records stored as they are in memory.
    template <typename Element>
    std::vector<Element> Array(int32_t count, const char* what)
    {
        std::vector<Element> elements;
        for (int32_t done = 0; done < count;) {
            const int32_t piece = std::min(kPiece, count - done);
            elements.resize(static_cast<size_t>(done + piece));
            Bytes(elements.data() + done, piece * static_cast<int32_t>(sizeof(Element)), what);
            done += piece;
        }
        return elements;
    }

    // True when no byte is left.
    bool AtEnd()
    {
        uint8_t extra = 0;
        int32_t copied = 0;
        return !file_.ReadBuffered(&extra, 1, copied);
    }

private:
    static constexpr int32_t kPiece = 65536;

    QelFileIO& file_;
};
