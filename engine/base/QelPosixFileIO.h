#pragma once
// The file object over POSIX files. Reads go through a standard input stream;
// writes go through a file descriptor with our own small buffer, so that every
// failure (a full disk, a failed close or rename) reaches the caller.

#include "engine/base/QelFileIO.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

class QelPosixFileIO : public QelFileIO {
public:
    explicit QelPosixFileIO(std::string name);
    ~QelPosixFileIO() override;
    QelPosixFileIO(const QelPosixFileIO&) = delete;
    QelPosixFileIO& operator=(const QelPosixFileIO&) = delete;

    bool Open(const std::string& folder, const std::string& name, const std::string& extension, bool read,
              bool write, bool binary, bool append) override;
    bool Close() override;
    bool ReadLine(std::string& line) override;
    bool WriteString(const std::string& text) override;
    bool ReadBytes(void* destination, int32_t count, int32_t& bytesRead) override;
    bool WriteBytes(const void* source, int32_t count) override;
    bool OpenRead(const std::string& folder, const std::string& name, const std::string& extension) override;
    bool ReadBuffered(void* destination, int32_t count, int32_t& bytesCopied) override;
    bool ReadAllText(std::string& output) override;

    const std::string& Name() const { return name_; }

private:
    bool OpenForReading(const std::string& path);
    bool OpenForWriting(const std::string& path, bool append);
    bool Append(const char* bytes, size_t count);
    bool FlushPending();
    bool FinishWriting();

    std::string name_;  // the tag the file services keep it under

    std::unique_ptr<std::ifstream> input_;

    int outputFd_ = -1;
    std::string outputPath_;     // the file the caller named
    std::string temporaryPath_;  // where a rewrite goes until Close; empty when appending
    std::string pending_;        // written but not yet handed to the system
    bool writeFailed_ = false;   // a write already failed; Close must not commit

    std::vector<char> buffer_;  // whole file loaded by OpenRead
    bool bufferLoaded_ = false;
    size_t bufferIndex_ = 0;  // next byte ReadBuffered hands out
};
