// The image file decoders and the entry that tries them in turn. A decoder
// returns 0 when it recognised the data and filled the image (pixels from
// the tracked allocator, owned by the image), non-zero otherwise, having
// freed whatever it allocated.
#pragma once

#include "engine/files/StreamSource.h"
#include "engine/images/PixelImage.h"

using ImageDecoder = int (*)(StreamSource* source, PixelImage* image);

int DecodeBmpImage(StreamSource* source, PixelImage* image);
int DecodeJpegImage(StreamSource* source, PixelImage* image);
int DecodePngImage(StreamSource* source, PixelImage* image);
int DecodeBgraImage(StreamSource* source, PixelImage* image);
int DecodeTgaImage(StreamSource* source, PixelImage* image);
int DecodeDdsImage(StreamSource* source, PixelImage* image);

struct NamedImageDecoder {
  const char* name;
  ImageDecoder decode;
};
// BMP, JPEG, PNG, BGRA, TGA, DDS: the order they are tried in.
const NamedImageDecoder* ImageDecoderTable(int* count);

// Offers the data to every decoder in order, from the start of the stream
// and with a cleared image each time. 0 when one accepted it (its name in
// *decoderName when given), -1 when none did.
int DecodeImage(StreamSource* source, PixelImage* image, const char** decoderName = nullptr);
