#include "engine/base/QelPosixFileIO.h"

#include "engine/base/QelDataFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// Small writes are gathered so that a file written line by line does not cost
// one system call per line.
constexpr size_t kWriteBufferBytes = 64 * 1024;

// Several file objects may rewrite files in the same folder; the process id and
// a counter keep their temporary names apart.
std::string TemporaryPathFor(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int fd, const char* bytes, size_t count)
{
    while (count > 0) {
        const ssize_t written = write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

QelPosixFileIO::QelPosixFileIO(std::string name) : name_(std::move(name)) {}

QelPosixFileIO::~QelPosixFileIO()
{
    Close();
}

bool QelPosixFileIO::Open(const std::string& folder, const std::string& name, const std::string& extension,
                          bool read, bool /*write*/, bool /*binary*/, bool append)
{
    Close();
    const std::string path = qel::ResolveGamePath(MakePath(folder, name, extension));
    if (read)
        return OpenForReading(path);
    return OpenForWriting(path, append);
}

bool QelPosixFileIO::OpenForReading(const std::string& path)
{
    if (IsFolder(path))
        return false;
    auto stream = std::make_unique<std::ifstream>(path, std::ios::in | std::ios::binary);
    if (!stream->is_open())
        return false;
    input_ = std::move(stream);
    return true;
}

bool QelPosixFileIO::OpenForWriting(const std::string& path, bool append)
{
    // A rewrite goes to a temporary file beside the target, renamed over it on
    // Close, so a crash or a full disk never leaves a half-written file.
    const std::string target = append ? path : TemporaryPathFor(path);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_EXCL | O_TRUNC);
    const int fd = open(target.c_str(), flags, 0666);
    if (fd < 0)
        return false;
    outputFd_ = fd;
    outputPath_ = path;
    temporaryPath_ = append ? std::string() : target;
    pending_.clear();
    writeFailed_ = false;
    return true;
}

bool QelPosixFileIO::Close()
{
    input_.reset();
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferLoaded_ = false;
    bufferIndex_ = 0;
    return outputFd_ < 0 || FinishWriting();
}

bool QelPosixFileIO::FinishWriting()
{
    bool stored = FlushPending() && !writeFailed_;
    // The data must be on disk before the rename makes it the file.
    if (stored && !temporaryPath_.empty())
        stored = fsync(outputFd_) == 0;
    if (close(outputFd_) != 0)
        stored = false;
    outputFd_ = -1;
    if (!temporaryPath_.empty()) {
        if (stored)
            stored = std::rename(temporaryPath_.c_str(), outputPath_.c_str()) == 0;
        if (!stored)
            unlink(temporaryPath_.c_str());
    }
    temporaryPath_.clear();
    outputPath_.clear();
    pending_.clear();
    writeFailed_ = false;
    return stored;
}

bool QelPosixFileIO::ReadLine(std::string& line)
{
    line.clear();
    if (!input_ || !std::getline(*input_, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool QelPosixFileIO::WriteString(const std::string& text)
{
    return Append(text.data(), text.size());
}

bool QelPosixFileIO::WriteBytes(const void* source, int32_t count)
{
    if (count < 0)
        return false;
    return Append(static_cast<const char*>(source), static_cast<size_t>(count));
}

bool QelPosixFileIO::Append(const char* bytes, size_t count)
{
    if (outputFd_ < 0 || writeFailed_)
        return false;
    pending_.append(bytes, count);
    if (pending_.size() >= kWriteBufferBytes)
        return FlushPending();
    return true;
}

bool QelPosixFileIO::FlushPending()
{
    if (!pending_.empty() && !writeFailed_)
        writeFailed_ = !WriteAll(outputFd_, pending_.data(), pending_.size());
    pending_.clear();
    return !writeFailed_;
}

bool QelPosixFileIO::ReadBytes(void* destination, int32_t count, int32_t& bytesRead)
{
    bytesRead = 0;
    if (!input_ || count < 0)
        return false;
    input_->read(static_cast<char*>(destination), count);
    bytesRead = static_cast<int32_t>(input_->gcount());
    return bytesRead == count;
}

bool QelPosixFileIO::OpenRead(const std::string& folder, const std::string& name, const std::string& extension)
{
    Close();
    const std::string path = qel::ResolveGamePath(MakePath(folder, name, extension));
    if (IsFolder(path))
        return false;
    std::ifstream stream(path, std::ios::in | std::ios::binary);
    if (!stream.is_open())
        return false;
    buffer_.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) {
        buffer_.clear();
        return false;
    }
    bufferLoaded_ = true;
    bufferIndex_ = 0;
    return true;
}

bool QelPosixFileIO::ReadBuffered(void* destination, int32_t count, int32_t& bytesCopied)
{
    bytesCopied = 0;
    if (count < 0)
        return false;
    const size_t left = buffer_.size() - bufferIndex_;
    const size_t n = std::min(static_cast<size_t>(count), left);
    if (n > 0)
        std::memcpy(destination, buffer_.data() + bufferIndex_, n);
    bufferIndex_ += n;
    bytesCopied = static_cast<int32_t>(n);
    return n == static_cast<size_t>(count);
}

bool QelPosixFileIO::ReadAllText(std::string& output)
{
    if (!bufferLoaded_)
        return false;
    const auto end = std::find(buffer_.begin(), buffer_.end(), '\0');
    output.append(buffer_.begin(), end);
    return true;
}
