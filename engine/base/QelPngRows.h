#pragma once
// Reads a PNG file a band of rows at a time, as RGBA bytes (8 bits a
// component, alpha 255 where the file has none), so a large picture can be
// decoded in pieces between frames. Interlaced files are not read this way:
// Open refuses them and the caller decodes them whole.

#include <cstdint>
#include <memory>
#include <string>

class QelPngRows {
public:
    QelPngRows();
    ~QelPngRows();
    QelPngRows(const QelPngRows&) = delete;
    QelPngRows& operator=(const QelPngRows&) = delete;

    // False, with the reason, when the file cannot be opened, is no PNG, is
    // interlaced, or claims a size out of range (as QelPixelImage refuses).
    bool Open(const std::string& path, std::string& error);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int RowsRead() const { return rowsRead_; }

    // Decodes up to count more rows into out, 4 x Width() bytes a row, one
    // after another. Returns the number decoded (0 once every row is), or
    // -1 with the reason when the file turns out damaged.
    int ReadRows(int count, uint8_t* out, std::string& error);

private:
    struct Decoder;
    void Close();

    std::unique_ptr<Decoder> decoder_;
    std::string path_;
    int width_ = 0;
    int height_ = 0;
    int rowsRead_ = 0;
};
