// The one translation unit that holds the bodies of the stb libraries the
// engine uses (image decoding and scaling, TrueType baking and Ogg Vorbis
// decoding); every other file includes their headers only.
#include "engine/base/QelPixelImage.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
// A file that claims a larger image is refused before anything is allocated
// for it.
#define STBI_MAX_DIMENSIONS QelPixelImage::kMaxSide
#include <stb/stb_image.h>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

// Ogg Vorbis decoding for streamed music.
#include <stb/stb_vorbis.h>
