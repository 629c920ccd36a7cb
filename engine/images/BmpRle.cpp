// BMP run-length data (RLE8 and RLE4): counted runs, absolute runs, line
// ends, deltas and the end-of-bitmap code, bounded by the image and by the
// data.
#include "engine/images/BmpFormat.h"

namespace {

// The output position; rows count from the bottom of the picture for
// bottom-up files.
class RleCursor {
 public:
  RleCursor(const BmpInfo& info, PixelImage* image)
      : image_(image), width_(info.width), rows_(info.rows()), topDown_(info.topDown()) {}

  bool Done() const { return line_ >= rows_; }
  void Put(uint8_t value) {
    if (line_ < rows_ && x_ < width_) {
      int row = topDown_ ? line_ : rows_ - 1 - line_;
      static_cast<uint8_t*>(image_->pixels)[static_cast<ptrdiff_t>(row) * image_->pitch + x_] = value;
    }
    ++x_;
  }
  void EndLine() {
    x_ = 0;
    ++line_;
  }
  void Move(int dx, int dy) {
    x_ += dx;
    line_ += dy;
  }

 private:
  PixelImage* image_;
  int width_, rows_;
  bool topDown_;
  int x_ = 0, line_ = 0;
};

// Feeds the codes of the data to the cursor: `run` writes a counted run and
// `run.absolute` an absolute one from the bytes that are there;
// `absoluteBytes` gives the bytes an absolute run of n takes before padding.
template <typename Run, typename Absolute>
void WalkRle(const BmpInfo& info, const BmpData& data, PixelImage* image, Run run,
             Absolute absoluteBytes) {
  RleCursor cursor(info, image);
  size_t at = 0;
  const size_t end = data.length;
  while (!cursor.Done() && at + 2 <= end) {
    uint8_t count = data.bytes[at], value = data.bytes[at + 1];
    at += 2;
    if (count > 0) {
      run(cursor, count, value);
      continue;
    }
    if (value == 0) {
      cursor.EndLine();
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (at + 2 > end) return;
      cursor.Move(data.bytes[at], data.bytes[at + 1]);
      at += 2;
    } else {
      size_t bytes = absoluteBytes(value);
      size_t padded = bytes + (bytes & 1);
      size_t available = end - at;
      size_t usable = bytes < available ? bytes : available;
      run.absolute(cursor, data.bytes + at, usable, value);
      if (padded > available) return;
      at += padded;
    }
  }
}

}  // namespace

void DecodeBmpRle8(const BmpInfo& info, const BmpData& data, PixelImage* image) {
  struct Run {
    void operator()(RleCursor& c, int n, uint8_t v) const {
      for (int i = 0; i < n; ++i) c.Put(v);
    }
    void absolute(RleCursor& c, const uint8_t* bytes, size_t usable, int n) const {
      for (int i = 0; i < n && static_cast<size_t>(i) < usable; ++i) c.Put(bytes[i]);
    }
  };
  WalkRle(info, data, image, Run{}, [](int n) { return static_cast<size_t>(n); });
}

void DecodeBmpRle4(const BmpInfo& info, const BmpData& data, PixelImage* image) {
  struct Run {
    void operator()(RleCursor& c, int n, uint8_t v) const {
      for (int i = 0; i < n; ++i) c.Put(i % 2 == 0 ? v >> 4 : v & 15);
    }
    void absolute(RleCursor& c, const uint8_t* bytes, size_t usable, int n) const {
      for (int i = 0; i < n && static_cast<size_t>(i / 2) < usable; ++i)
        c.Put(i % 2 == 0 ? bytes[i / 2] >> 4 : bytes[i / 2] & 15);
    }
  };
  WalkRle(info, data, image, Run{}, [](int n) { return static_cast<size_t>(n + 1) / 2; });
}
