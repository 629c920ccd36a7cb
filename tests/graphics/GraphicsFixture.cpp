#include "tests/graphics/GraphicsFixture.h"

#include <fstream>
#include <sstream>

namespace graphicstest {

std::vector<std::string> HeadlessFixture::LogTexts() const {
  std::ifstream file(directory_ / "Log.txt", std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  std::string text = content.str();
  std::vector<std::string> texts;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    size_t colon = line.find(':');
    if (colon != std::string::npos && line.find_first_not_of("0123456789") == colon)
      line = line.substr(colon + 1);
    size_t first = line.find_first_not_of('\t');
    texts.push_back(first == std::string::npos ? std::string() : line.substr(first));
    start = end + 2;
  }
  return texts;
}

bool HeadlessFixture::LogHas(const std::string& text) const {
  for (const std::string& line : LogTexts())
    if (line.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace graphicstest
