// PNG files through libpng, read through the StreamSource with libpng's own
// requests. Transforms: 16-bit channels stripped to 8, small depths packed
// one pixel per byte, gray and tRNS expanded, colour stored blue first.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLimits.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

struct PngInput {
  StreamSource* source;
  int32_t remaining;
};

void ReadFromStream(png_structp png, png_bytep destination, png_size_t length) {
  PngInput* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (length > static_cast<png_size_t>(input->remaining)) png_error(png, "Read Error");
  if (length == 0) return;
  size_t got = input->source->ops.Read(destination, length, 1, input->source->handle);
  if (got != 1) png_error(png, "Read Error");
  input->remaining -= static_cast<int32_t>(length);
}

// What survives a longjmp out of libpng: nothing here is kept in a
// register across it.
struct PngDecodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint8_t* volatile pixels = nullptr;
  png_bytep* volatile rows = nullptr;
};

void SetFormatFromPng(png_structp png, png_infop info, int colorType, bool expanded,
                      int channels, PixelImage* image) {
  if (colorType == PNG_COLOR_TYPE_PALETTE && !expanded) {
    SetPaletteColorFormat(image);
    std::memset(image->format.palette, 0, sizeof image->format.palette);
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries) == PNG_INFO_PLTE) {
      for (int i = 0; i < entries && i < 256; ++i) {
        image->format.palette[i][0] = palette[i].blue;
        image->format.palette[i][1] = palette[i].green;
        image->format.palette[i][2] = palette[i].red;
      }
    }
  } else if ((colorType & PNG_COLOR_MASK_COLOR) != 0) {
    if (channels == 4) SetArgb8ColorFormat(image); else SetFullColorFormat(image);
  } else if (channels == 1) {
    SetGrayColorFormat(image);
  } else {
    // Gray with alpha: every colour channel is the gray byte; the alpha
    // byte is not used.
    SetGenericColorFormat(image, 16, 0xFF, 0xFF, 0xFF, 0);
    image->format.noneMask = 0xFF00;
    image->format.noneShift = 8;
    image->format.noneWidth = 8;
  }
}

int DecodeWithLibpng(PngDecodeState* state, PngInput* input, PixelImage* image) {
  if (setjmp(png_jmpbuf(state->png))) return -1;
  png_structp png = state->png;
  png_infop info = state->info;
  png_set_read_fn(png, input, ReadFromStream);
  png_set_sig_bytes(png, 0);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (width == 0 || height == 0 || width > MAX_IMAGE_DIMENSION || height > MAX_IMAGE_DIMENSION)
    return -1;
  png_set_strip_16(png);
  png_set_packing(png);
  png_set_packswap(png);
  bool expanded = false;
  if ((colorType == PNG_COLOR_TYPE_GRAY && bitDepth <= 8) ||
      png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_expand(png);
    expanded = true;
  }
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  const int channels = png_get_channels(png, info);
  int64_t pitch = 0, bytes = 0;
  if (!ImageBufferSize(rowBytes, height, 1, 1, &pitch, &bytes)) return -1;

  // The rows point straight into the image's block: no second copy.
  state->pixels = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(bytes), "", 0));
  state->rows = static_cast<png_bytep*>(MemAlloc(sizeof(png_bytep) * height, "", 0));
  if (state->pixels == nullptr || state->rows == nullptr) return -1;
  for (png_uint_32 y = 0; y < height; ++y) state->rows[y] = state->pixels + y * pitch;
  png_read_image(png, state->rows);
  png_read_end(png, nullptr);

  SetFormatFromPng(png, info, colorType, expanded, channels, image);
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->pitch = static_cast<int>(pitch);
  return 0;
}

}  // namespace

int DecodePngImage(StreamSource* source, PixelImage* image) {
  int32_t length = StreamLength(source);
  if (length < 8) return -1;
  // libpng would refuse anything else too, but only after writing its
  // error message: every other format passes through here.
  png_byte signature[8];
  if (!ReadAt(source, 0, signature, sizeof signature) || png_sig_cmp(signature, 0, 8) != 0)
    return -1;
  source->ops.Seek(source->handle, 0, STREAM_SEEK_SET);
  PngInput input{source, length};
  PngDecodeState state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (state.png == nullptr) return -1;
  state.info = png_create_info_struct(state.png);
  int result = state.info ? DecodeWithLibpng(&state, &input, image) : -1;
  png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr, nullptr);
  MemFree(state.rows);
  if (result != 0) {
    MemFree(state.pixels);
    std::memset(image, 0, sizeof *image);
    return -1;
  }
  image->pixels = state.pixels;
  return 0;
}
