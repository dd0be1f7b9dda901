#include "text/checksum.h"

#include <stdexcept>

#include "text/value_tables.h"

namespace {

// Sums wrap modulo 2^32 instead of overflowing when a caller passes an
// extreme sum or a table value has been altered.
int wrapping_sum(int sum, int value) {
  return static_cast<int>(static_cast<unsigned>(sum) +
                          static_cast<unsigned>(value));
}

// The value a lookup in _code_to_value yields right after a fill: the 43 rows
// are known, and only other characters need the table (which enters them with
// 0 when absent).
int value_after_fill(char c) {
  const int value = code39_value_of[static_cast<unsigned char>(c)];
  return value != not_a_code39_character ? value : _code_to_value[c];
}

}  // namespace

int add_up_checksum(int sum, char c) {
  return wrapping_sum(sum, _code_to_value[c]);
}

std::size_t reported_length(const std::string& text, const std::string& check,
                            TARN_CHECKSUMFLAGS flags) {
  const bool verify =
      flags == TARN_CHECKSUM_VERIFY || flags == TARN_CHECKSUM_VERIFY_STRIP;
  if (!verify) return text.size();
  // The message that taking the tail with substr would carry.
  if (check.size() > text.size())
    throw std::out_of_range("basic_string::substr");
  const std::size_t body_size = text.size() - check.size();
  if (text.compare(body_size, check.size(), check) != 0) return 0;
  return flags == TARN_CHECKSUM_VERIFY_STRIP ? body_size : text.size();
}

std::string do_checksum(std::string text, std::string& check,
                        TARN_CHECKSUMFLAGS flags) {
  text.resize(reported_length(text, check, flags));
  return text;
}

char check_character_of(const std::string& raw_text) {
  int sum = 0;
  for (std::size_t i = 0; i + 1 < raw_text.size(); ++i) {
    sum = wrapping_sum(sum, value_after_fill(raw_text[i]));
  }
  const int remainder = sum % code39_character_count;
  // Negative only when a host gave some character a negative value.
  return remainder >= 0 ? code39_characters[remainder]
                        : _value_to_code[remainder];
}
