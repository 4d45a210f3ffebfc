// The one translation unit that holds the bodies of the stb libraries the
// engine uses (image decoding and scaling, TrueType baking and Ogg Vorbis
// decoding); every other file includes their headers only.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#include <stb/stb_image.h>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

// Ogg Vorbis decoding for streamed music.
#include <stb/stb_vorbis.h>
