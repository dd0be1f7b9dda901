// An input as the readers take it: a file, standard input ("-") or bytes in
// memory, read through a stream by the format's own decoder, never more
// than a size limit of it. Nothing is read whole into memory; a pipe's TIFF,
// which libtiff reads out of order, is copied to a temporary file.
#ifndef TARN_HOST_INPUT_FILE_H
#define TARN_HOST_INPUT_FILE_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class input_file {
 public:
  // Throws input_error with the system's reason when the file cannot be
  // opened, or when it is a directory, empty or larger than `max_bytes`.
  input_file(const std::string& path, std::uint64_t max_bytes);
  // Bytes already in memory, which must outlive the object.
  explicit input_file(const std::vector<unsigned char>& bytes);
  ~input_file();
  input_file(const input_file&) = delete;
  input_file& operator=(const input_file&) = delete;

  // The first bytes (up to 1 KB), to tell the format by.
  std::string_view head() const { return head_; }
  // At the first byte until a reader takes it.
  std::FILE* stream() const { return stream_.get(); }
  // Known before reading for regular files and bytes in memory.
  std::optional<std::uint64_t> size() const { return size_; }

  // Lets the stream seek: a pipe's bytes, up to the limit, go to a
  // temporary file first.
  void make_seekable();

  // Throws the size limit's input_error when reading stopped at it. Readers
  // that fail call it first: their own message would say "truncated".
  void check_limit() const;

 private:
  struct pipe_state;
  struct stream_closer {
    void operator()(std::FILE* stream) const;
  };

  std::unique_ptr<std::FILE, stream_closer> source_;  // a file of our own
  std::unique_ptr<pipe_state> pipe_;
  std::unique_ptr<std::FILE, stream_closer> stream_;
  std::string head_;
  std::optional<std::uint64_t> size_;
  std::uint64_t max_bytes_;
};

#endif
