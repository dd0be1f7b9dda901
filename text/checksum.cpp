#include "text/checksum.h"

#include <iterator>
#include <numeric>
#include <stdexcept>

#include "text/value_tables.h"

int add_up_checksum(int sum, char c) {
  // Wraps modulo 2^32 instead of overflowing when a caller passes an extreme
  // sum or a table value has been altered.
  return static_cast<int>(static_cast<unsigned>(sum) +
                          static_cast<unsigned>(_code_to_value[c]));
}

std::string do_checksum(std::string text, std::string& check,
                        TARN_CHECKSUMFLAGS flags) {
  const bool verify =
      flags == TARN_CHECKSUM_VERIFY || flags == TARN_CHECKSUM_VERIFY_STRIP;
  if (!verify) return text;
  // The message that taking the tail with substr would carry.
  if (check.size() > text.size())
    throw std::out_of_range("basic_string::substr");
  const std::size_t body_size = text.size() - check.size();
  if (text.compare(body_size, check.size(), check) != 0) return {};
  if (flags == TARN_CHECKSUM_VERIFY_STRIP) text.resize(body_size);
  return text;
}

std::string check_character_of(const std::string& raw_text) {
  const auto body_end =
      raw_text.empty() ? raw_text.end() : std::prev(raw_text.end());
  const int sum =
      std::accumulate(raw_text.begin(), body_end, 0, add_up_checksum);
  return std::string(1, _value_to_code[sum % kCode39CharacterCount]);
}
