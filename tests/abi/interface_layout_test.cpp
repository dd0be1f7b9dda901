// What a host compiled against an earlier copy of tarn_interface.h relies on:
// the layout of the shared records, the width of the flags and of a decoder
// object, and the signatures and order of the virtual operations. Any failure
// here means hosts built before the change would misread the plug-in.
#include "tarn_interface.h"
// Included first, so that this file also proves the header compiles alone.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace {

// Member `next` of `type` has type `next_type` and starts right after member
// `previous`, with nothing but alignment padding between them.
#define FOLLOWS(type, previous, next, next_type)                         \
  static_assert(std::is_same_v<decltype(type::next), next_type> &&       \
                offsetof(type, next) ==                                  \
                    (offsetof(type, previous) + sizeof(type::previous) + \
                     alignof(next_type) - 1) /                           \
                        alignof(next_type) * alignof(next_type))

// offsetof on a class with a virtual destructor is conditionally supported;
// both compilers this project builds with support it for classes without
// virtual bases, which is all that is asked of it here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

// tarn_candidate_result: the virtual-table pointer, then six members.
using candidate = tarn_candidate_result;
static_assert(std::has_virtual_destructor_v<candidate> &&
              offsetof(candidate, text) == sizeof(void*) &&
              std::is_same_v<decltype(candidate::text), std::string>);
FOLLOWS(candidate, text, check_char, std::string);
FOLLOWS(candidate, check_char, confidence, double);
FOLLOWS(candidate, confidence, decode_time, double);
FOLLOWS(candidate, decode_time, bar_thicknesses, std::vector<char>);
FOLLOWS(candidate, bar_thicknesses, reversed, bool);

// tarn_result: no virtual-table pointer; the members a decoder uses, in order.
// Members after them would not matter: the plug-in never creates a record.
using record = tarn_result;
using candidate_map = std::map<std::string, tarn_candidate_result>;
static_assert(!std::is_polymorphic_v<record> && offsetof(record, edges) == 0 &&
              std::is_same_v<decltype(record::edges), std::vector<double>>);
FOLLOWS(record, edges, candidates, candidate_map);
FOLLOWS(record, candidates, passed_1, bool);
FOLLOWS(record, passed_1, passed_2, bool);
FOLLOWS(record, passed_2, passed_3, bool);
FOLLOWS(record, passed_3, grade_1, int);
FOLLOWS(record, grade_1, grade_2, int);
FOLLOWS(record, grade_2, grade_3, int);
FOLLOWS(record, grade_3, grade_4, int);
FOLLOWS(record, grade_4, decode_ok, bool);
FOLLOWS(record, decode_ok, overall_grade, int);

#pragma GCC diagnostic pop

// The flags travel by value as an int.
static_assert(std::is_same_v<std::underlying_type_t<TARN_CHECKSUMFLAGS>, int>);
static_assert(TARN_CHECKSUM_NONE == 0 && TARN_CHECKSUM_VERIFY == 1 &&
              TARN_CHECKSUM_VERIFY_STRIP == 2);

// A decoder object is its virtual-table pointer; the operations and the
// entry points keep their signatures.
static_assert(sizeof(decoder_1d_interface) == sizeof(void*) &&
              std::has_virtual_destructor_v<decoder_1d_interface>);
using decode_operation = bool (decoder_1d_interface::*)(
    tarn_result&, TARN_CHECKSUMFLAGS, bool (*)(tarn_result&, int), int,
    void (*)(tarn_result&)) const;
static_assert(
    std::is_same_v<decltype(&decoder_1d_interface::decode), decode_operation>);
static_assert(std::is_same_v<decltype(&decoder_1d_interface::getversion),
                             std::string (decoder_1d_interface::*)() const>);
static_assert(std::is_same_v<tarn_new_server_interface_fn,
                             decoder_1d_interface* (*)(int)>);
static_assert(std::is_same_v<tarn_delete_server_interface_fn,
                             void (*)(int, decoder_1d_interface*)>);

// The slot of a virtual operation in the virtual table: on x86-64 a pointer
// to it is two words, the first holding 1 + the slot's byte offset.
template <typename Operation>
std::ptrdiff_t vtable_slot(Operation operation) {
  std::ptrdiff_t words[2];
  static_assert(sizeof(words) == sizeof(operation));
  std::memcpy(words, &operation, sizeof(operation));
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(InterfaceLayout, TheCandidateHoldsSixMembersWithTheirDefaults) {
  // A binding of six names compiles only for exactly six members, so this
  // also catches a member added in the tail padding.
  const auto& [text, check, confidence, time, counts, reversed] =
      tarn_candidate_result();
  EXPECT_TRUE(text.empty() && check.empty() && counts.empty() && !reversed);
  EXPECT_TRUE(confidence == 1.0 && time == 0.0);
}

TEST(InterfaceLayout, VirtualOperationsKeepTheirOrder) {
#if !defined(__x86_64__)
  GTEST_SKIP() << "the pointer representation is read as on x86-64";
#endif
  // Slots 0 and 1 hold the two destructor entries.
  EXPECT_EQ(vtable_slot(&decoder_1d_interface::decode), 2);
  EXPECT_EQ(vtable_slot(&decoder_1d_interface::getversion), 3);
}

}  // namespace
