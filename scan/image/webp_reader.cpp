#include "image/webp_reader.h"

#include <webp/decode.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "image/input_error.h"

namespace {

const char* status_text(VP8StatusCode status) {
  switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY:
      return "bad WebP image: out of memory";
    case VP8_STATUS_UNSUPPORTED_FEATURE:
      return "bad WebP image: unsupported feature";
    case VP8_STATUS_NOT_ENOUGH_DATA:
      return "truncated WebP image";
    default:
      return "bad WebP image";
  }
}

WebPBitstreamFeatures features_of(std::string_view head) {
  WebPBitstreamFeatures features;
  const VP8StatusCode status =
      WebPGetFeatures(reinterpret_cast<const std::uint8_t*>(head.data()),
                      head.size(), &features);
  if (status != VP8_STATUS_OK) throw input_error(status_text(status));
  if (features.has_animation)
    throw input_error("animated WebP images are not supported");
  return features;
}

struct decoder_deleter {
  void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};

// The planes the decoder writes: luma into the page itself, chroma (which
// grey ignores) and alpha beside it. Untouched until decoded, as the page is.
struct yuva_planes {
  yuva_planes(grey_image& page, bool alpha)
      : chroma_width((page.width + 1) / 2),
        chroma(chroma_bytes(page.width, page.height)),
        alpha(alpha ? page.pixels.size() : 0) {}

  static std::size_t chroma_bytes(int width, int height) {
    return std::size_t((width + 1) / 2) * ((height + 1) / 2) * 2;
  }

  int chroma_width;
  pixel_vector chroma;  // U then V
  pixel_vector alpha;
};

// Checked before anything is allocated: the planes beside the page stay
// within max_decoder_bytes.
void check_plane_bytes(const WebPBitstreamFeatures& image) {
  check_pixel_limit(image.width, image.height);
  const std::size_t bytes =
      yuva_planes::chroma_bytes(image.width, image.height) +
      (image.has_alpha ? std::size_t(image.width) * image.height : 0);
  if (bytes > max_decoder_bytes)
    throw input_error("WebP image too large: " + std::to_string(image.width) +
                      " x " + std::to_string(image.height) + " pixels take " +
                      std::to_string(bytes >> 20) +
                      " MB beside the page, more than the limit of " +
                      std::to_string(max_decoder_bytes >> 20) + " MB");
}

// Feeds the stream to the decoder as it comes; throws unless the image ends.
void decode(input_file& input, WebPIDecoder* decoder) {
  std::uint8_t chunk[65536];
  VP8StatusCode status = VP8_STATUS_SUSPENDED;
  for (std::size_t got;
       status == VP8_STATUS_SUSPENDED &&
       (got = std::fread(chunk, 1, sizeof chunk, input.stream())) > 0;)
    status = WebPIAppend(decoder, chunk, got);
  if (status == VP8_STATUS_SUSPENDED) status = VP8_STATUS_NOT_ENOUGH_DATA;
  if (status != VP8_STATUS_OK) {
    input.check_limit();
    throw input_error(status_text(status));
  }
}

// Studio-range luma to full-range grey, over white paper where transparent.
void to_grey(grey_image& page, const pixel_vector& alpha) {
  for (std::size_t i = 0; i < page.pixels.size(); ++i) {
    const float grey =
        std::clamp((page.pixels[i] - 16) * 255 / 219.0f, 0.0f, 255.0f);
    const float opacity = alpha.empty() ? 1 : alpha[i] / 255.0f;
    page.pixels[i] = static_cast<std::uint8_t>(
        std::lround(grey * opacity + 255 * (1 - opacity)));
  }
}

}  // namespace

bool looks_like_webp(std::string_view head) {
  return head.size() >= 12 && head.substr(0, 4) == "RIFF" &&
         head.substr(8, 4) == "WEBP";
}

grey_image read_webp(input_file& input) {
  const WebPBitstreamFeatures features = features_of(input.head());
  check_plane_bytes(features);
  grey_image page{features.width, features.height, {}};
  page.pixels.resize(std::size_t(page.width) * page.height);
  yuva_planes planes(page, features.has_alpha);
  const std::size_t chroma_size = planes.chroma.size() / 2;
  const std::unique_ptr<WebPIDecoder, decoder_deleter> decoder(WebPINewYUVA(
      page.pixels.data(), page.pixels.size(), page.width, planes.chroma.data(),
      chroma_size, planes.chroma_width, planes.chroma.data() + chroma_size,
      chroma_size, planes.chroma_width,
      planes.alpha.empty() ? nullptr : planes.alpha.data(), planes.alpha.size(),
      page.width));
  if (!decoder) throw std::bad_alloc();
  decode(input, decoder.get());
  to_grey(page, planes.alpha);
  return page;
}
