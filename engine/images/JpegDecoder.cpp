// JPEG files through libjpeg (the IJG interface, as libjpeg-turbo offers it
// with either the version 6b or the version 8 structures), read through
// the StreamSource by a source manager with a 4096-byte buffer.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

#include <jpeglib.h>
#include <jerror.h>

#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLimits.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

constexpr size_t INPUT_BUFFER_BYTES = 4096;

struct ErrorExit {
  jpeg_error_mgr manager;
  jmp_buf resume;
};

void LeaveOnError(j_common_ptr info) {
  (*info->err->output_message)(info);
  longjmp(reinterpret_cast<ErrorExit*>(info->err)->resume, 1);
}

struct StreamInput {
  jpeg_source_mgr manager;
  StreamSource* source;
  int32_t remaining;
  bool started;
  JOCTET buffer[INPUT_BUFFER_BYTES];
};

StreamInput* InputOf(j_decompress_ptr info) { return reinterpret_cast<StreamInput*>(info->src); }

void InitSource(j_decompress_ptr info) { InputOf(info)->started = false; }

boolean FillInput(j_decompress_ptr info) {
  StreamInput* input = InputOf(info);
  size_t want = input->remaining < static_cast<int32_t>(INPUT_BUFFER_BYTES)
                    ? static_cast<size_t>(input->remaining > 0 ? input->remaining : 0)
                    : INPUT_BUFFER_BYTES;
  size_t got = want ? ReadBytes(input->source, input->buffer, want) : 0;
  if (got == 0) {
    if (!input->started) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    input->buffer[0] = 0xFF;
    input->buffer[1] = JPEG_EOI;
    got = 2;
  } else {
    input->remaining -= static_cast<int32_t>(got);
  }
  input->manager.next_input_byte = input->buffer;
  input->manager.bytes_in_buffer = got;
  input->started = true;
  return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  StreamInput* input = InputOf(info);
  while (count > static_cast<long>(input->manager.bytes_in_buffer)) {
    count -= static_cast<long>(input->manager.bytes_in_buffer);
    FillInput(info);
  }
  input->manager.next_input_byte += count;
  input->manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InstallStreamInput(j_decompress_ptr info, StreamInput* input, StreamSource* source,
                        int32_t length) {
  input->source = source;
  input->remaining = length;
  input->started = false;
  input->manager.init_source = InitSource;
  input->manager.fill_input_buffer = FillInput;
  input->manager.skip_input_data = SkipInput;
  input->manager.resync_to_restart = jpeg_resync_to_restart;
  input->manager.term_source = TermSource;
  input->manager.bytes_in_buffer = 0;
  input->manager.next_input_byte = nullptr;
  info->src = &input->manager;
}

struct JpegDecodeState {
  jpeg_decompress_struct info;
  ErrorExit error;
  StreamInput input;
  uint8_t* volatile pixels;  // zeroed with the record
};

int DecodeWithLibjpeg(JpegDecodeState* state, PixelImage* image) {
  j_decompress_ptr info = &state->info;
  if (setjmp(state->error.resume)) return -1;
  jpeg_read_header(info, TRUE);
  if (info->num_components == 3) {
#ifdef JCS_EXTENSIONS
    info->out_color_space = JCS_EXT_BGR;  // blue first without a pass over the rows
#else
    info->out_color_space = JCS_RGB;
#endif
  } else if (info->num_components != 1) {
    return -1;  // CMYK and the like have no full-colour conversion here
  }
  jpeg_start_decompress(info);
  const int components = info->output_components;
  int64_t pitch = 0, bytes = 0;
  if ((components != 1 && components != 3) ||
      !ImageBufferSize(info->output_width, info->output_height, components, 1, &pitch, &bytes)) {
    return -1;
  }
  state->pixels = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(bytes > 0 ? bytes : 1), "", 0));
  if (state->pixels == nullptr) return -1;
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = state->pixels + static_cast<int64_t>(info->output_scanline) * pitch;
    jpeg_read_scanlines(info, &row, 1);
  }
#ifndef JCS_EXTENSIONS
  if (components == 3) {
    for (int64_t i = 0; i < bytes; i += 3) std::swap(state->pixels[i], state->pixels[i + 2]);
  }
#endif
  jpeg_finish_decompress(info);
  if (components == 1) SetGrayColorFormat(image); else SetFullColorFormat(image);
  image->width = static_cast<int>(info->output_width);
  image->height = static_cast<int>(info->output_height);
  image->pitch = static_cast<int>(pitch);
  return 0;
}

}  // namespace

int DecodeJpegImage(StreamSource* source, PixelImage* image) {
  int32_t length = StreamLength(source);
  uint8_t start[2];
  // Anything that does not open with a start-of-image marker is not tried
  // (libjpeg would only refuse it after writing its message).
  if (length < 4 || !ReadAt(source, 0, start, 2) || start[0] != 0xFF || start[1] != 0xD8)
    return -1;
  source->ops.Seek(source->handle, 0, STREAM_SEEK_SET);

  JpegDecodeState* state = static_cast<JpegDecodeState*>(MemCalloc(sizeof(JpegDecodeState), "", 0));
  if (state == nullptr) return -1;
  state->info.err = jpeg_std_error(&state->error.manager);
  state->error.manager.error_exit = LeaveOnError;
  jpeg_create_decompress(&state->info);
  InstallStreamInput(&state->info, &state->input, source, length);
  int result = DecodeWithLibjpeg(state, image);
  jpeg_destroy_decompress(&state->info);
  uint8_t* pixels = state->pixels;
  MemFree(state);
  if (result != 0) {
    MemFree(pixels);
    std::memset(image, 0, sizeof *image);
    return -1;
  }
  image->pixels = pixels;
  return 0;
}
