#include "image/input_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "image/input_error.h"

namespace {

constexpr std::size_t head_size = 1024;

std::string size_text(std::uint64_t bytes) {
  constexpr std::uint64_t megabyte = 1 << 20;
  return bytes > 0 && bytes % megabyte == 0
             ? std::to_string(bytes / megabyte) + " MB"
             : std::to_string(bytes) + " bytes";
}

[[noreturn]] void fail_with_errno() { throw input_error(std::strerror(errno)); }

}  // namespace

// A pipe, terminal or device, read once front to back: the head again first,
// then the rest, counted against the limit.
struct input_file::pipe_state {
  std::FILE* source;
  std::string head;
  std::size_t head_read = 0;
  std::uint64_t count = 0;
  std::uint64_t limit;
  bool over_limit = false;

  static ssize_t read(void* cookie, char* buffer, std::size_t size) {
    auto& pipe = *static_cast<pipe_state*>(cookie);
    if (pipe.head_read < pipe.head.size()) {
      const std::size_t n = std::min(size, pipe.head.size() - pipe.head_read);
      std::memcpy(buffer, pipe.head.data() + pipe.head_read, n);
      pipe.head_read += n;
      return static_cast<ssize_t>(n);
    }
    const std::size_t got = std::fread(buffer, 1, size, pipe.source);
    pipe.count += got;
    if (pipe.count > pipe.limit) {
      pipe.over_limit = true;
      errno = EFBIG;
      return -1;
    }
    return got == 0 && std::ferror(pipe.source) ? -1
                                                : static_cast<ssize_t>(got);
  }
};

void input_file::stream_closer::operator()(std::FILE* stream) const {
  if (stream != stdin) std::fclose(stream);
}

input_file::input_file(const std::string& path, std::uint64_t max_bytes)
    : max_bytes_(max_bytes) {
  std::FILE* file = stdin;
  if (path != "-") {
    source_.reset(std::fopen(path.c_str(), "rb"));
    if (!source_) fail_with_errno();
    file = source_.get();
  }
  struct stat status;
  if (fstat(fileno(file), &status) != 0) fail_with_errno();
  if (S_ISDIR(status.st_mode)) throw input_error(std::strerror(EISDIR));
  head_.resize(head_size);
  const long start = std::ftell(file);
  // Files of the /proc kind say they are empty: read as pipes.
  if (S_ISREG(status.st_mode) && status.st_size > 0 && start >= 0) {
    size_ = static_cast<std::uint64_t>(status.st_size - start);
    if (*size_ > max_bytes)
      throw input_error("file too large: " + size_text(*size_) +
                        ", more than the limit of " + size_text(max_bytes));
    // Read beside the stream, which stays where it is.
    const ssize_t got = pread(fileno(file), head_.data(), head_size, start);
    if (got < 0) fail_with_errno();
    head_.resize(static_cast<std::size_t>(got));
    stream_ = source_ ? std::move(source_)
                      : std::unique_ptr<std::FILE, stream_closer>(file);
  } else {
    head_.resize(std::fread(head_.data(), 1, head_size, file));
    if (std::ferror(file)) fail_with_errno();
    pipe_.reset(new pipe_state{file, head_, 0, head_.size(), max_bytes});
    stream_.reset(fopencookie(pipe_.get(), "r",
                              {pipe_state::read, nullptr, nullptr, nullptr}));
    if (!stream_) fail_with_errno();
  }
  if (head_.empty()) throw input_error("empty file");
}

input_file::input_file(const std::vector<unsigned char>& bytes)
    : size_(bytes.size()), max_bytes_(bytes.size()) {
  if (bytes.empty()) throw input_error("empty file");
  head_.assign(bytes.begin(),
               bytes.begin() + static_cast<std::ptrdiff_t>(
                                   std::min(bytes.size(), head_size)));
  stream_.reset(
      fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb"));
  if (!stream_) fail_with_errno();
}

input_file::~input_file() = default;

void input_file::make_seekable() {
  if (size_) return;
  std::unique_ptr<std::FILE, stream_closer> copy(std::tmpfile());
  if (!copy) fail_with_errno();
  unsigned char chunk[65536];
  std::uint64_t size = 0;
  for (std::size_t got;
       (got = std::fread(chunk, 1, sizeof chunk, stream_.get())) > 0;
       size += got)
    if (std::fwrite(chunk, 1, got, copy.get()) != got) fail_with_errno();
  check_limit();
  if (std::ferror(stream_.get()) || std::fflush(copy.get()) != 0 ||
      std::fseek(copy.get(), 0, SEEK_SET) != 0)
    fail_with_errno();
  stream_ = std::move(copy);
  size_ = size;
}

void input_file::check_limit() const {
  if (pipe_ && pipe_->over_limit)
    throw input_error("file too large: more than the limit of " +
                      size_text(max_bytes_));
}
