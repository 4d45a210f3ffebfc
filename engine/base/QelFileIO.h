#pragma once
// A named file object: every data file of the game is read and written through
// one of these, kept by tag in the file services and reused. A caller opens,
// reads or writes, and closes. The platform implementation lives beside it
// (QelPosixFileIO); this base holds what is the same everywhere.

#include <cstdint>
#include <string>

class QelFileIO {
public:
    virtual ~QelFileIO() = default;

    // Opens folder/name.extension (see MakePath). Read wins when both read and
    // write are set. Writing without append rewrites the file as a whole: the
    // text goes to a temporary file that Close renames over the old one.
    // Binary has no effect here: every file is read and written byte for byte.
    virtual bool Open(const std::string& folder, const std::string& name, const std::string& extension,
                      bool read, bool write, bool binary, bool append) = 0;

    // Ends the open read or write and frees the whole-file buffer. False when
    // pending writes could not be stored; a rewritten file then keeps its old
    // content.
    virtual bool Close() = 0;

    // The next line without its line end (LF or CRLF). False only when no line
    // was left; a last line without a line end still counts as a line.
    virtual bool ReadLine(std::string& line) = 0;

    // Writes the text's bytes as they are; no line end is added. False when no
    // file is open for writing or the bytes could not be written.
    virtual bool WriteString(const std::string& text) = 0;

    // True only when all count bytes were read or written.
    virtual bool ReadBytes(void* destination, int32_t count, int32_t& bytesRead) = 0;
    virtual bool WriteBytes(const void* source, int32_t count) = 0;

    // Loads the whole file into the object's buffer; false when it cannot be read.
    virtual bool OpenRead(const std::string& folder, const std::string& name, const std::string& extension) = 0;

    // Hands out the next bytes of the buffer; true only when all count bytes
    // were there, and bytesCopied tells how many were.
    virtual bool ReadBuffered(void* destination, int32_t count, int32_t& bytesCopied) = 0;

    // Appends the buffer as text, up to its first NUL byte. False when nothing
    // has been loaded.
    virtual bool ReadAllText(std::string& output) = 0;

    // folder + "/" + name + "." + extension, without doubling a separator that
    // is already there; '\' becomes '/'. An empty extension adds no dot; with
    // an empty name and extension the path is the folder itself.
    static std::string MakePath(const std::string& folder, const std::string& name, const std::string& extension);
};
