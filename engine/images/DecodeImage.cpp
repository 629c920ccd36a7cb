#include <cstring>

#include "engine/images/ImageDecoders.h"

namespace {

const NamedImageDecoder DECODERS[] = {
    {"BMP", DecodeBmpImage},   {"JPEG", DecodeJpegImage}, {"PNG", DecodePngImage},
    {"BGRA", DecodeBgraImage}, {"TGA", DecodeTgaImage},   {"DDS", DecodeDdsImage},
};

}  // namespace

const NamedImageDecoder* ImageDecoderTable(int* count) {
  *count = static_cast<int>(sizeof DECODERS / sizeof DECODERS[0]);
  return DECODERS;
}

int DecodeImage(StreamSource* source, PixelImage* image, const char** decoderName) {
  if (source == nullptr || image == nullptr) return -1;
  std::memset(image, 0, sizeof *image);
  for (const NamedImageDecoder& decoder : DECODERS) {
    source->ops.Seek(source->handle, 0, STREAM_SEEK_SET);
    std::memset(image, 0, sizeof *image);
    if (decoder.decode(source, image) == 0) {
      if (decoderName) *decoderName = decoder.name;
      return 0;
    }
  }
  std::memset(image, 0, sizeof *image);
  return -1;
}
