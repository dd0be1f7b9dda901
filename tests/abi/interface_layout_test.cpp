// What a host compiled against an earlier copy of tarn_interface.h relies on:
// the layout of the shared records, the width of the flags and of a decoder
// object, and the signatures and order of the virtual operations. Any failure
// here means hosts built before the change would misread the plug-in.
#include "tarn_interface.h"
// Included first, so that this file also proves the header compiles alone.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr std::size_t round_up(std::size_t offset, std::size_t alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

// True when member `next` of `type` starts right after member `previous`:
// declared in that order with nothing but alignment padding between them.
#define FOLLOWS(type, previous, next)                          \
  (offsetof(type, next) ==                                     \
   round_up(offsetof(type, previous) + sizeof(type::previous), \
            alignof(decltype(type::next))))

// offsetof on a class with a virtual destructor is conditionally supported;
// both compilers this project builds with support it for classes without
// virtual bases, which is all that is asked of it here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

// tarn_candidate_result: virtual-table pointer, then the six members in order
// (their types and number are checked below).
using candidate = tarn_candidate_result;
static_assert(std::is_polymorphic_v<candidate>);
static_assert(std::has_virtual_destructor_v<candidate>);
static_assert(offsetof(candidate, text) == sizeof(void*),
              "only the virtual-table pointer precedes the members");
static_assert(FOLLOWS(candidate, text, check_char));
static_assert(FOLLOWS(candidate, check_char, confidence));
static_assert(FOLLOWS(candidate, confidence, decode_time));
static_assert(FOLLOWS(candidate, decode_time, bar_thicknesses));
static_assert(FOLLOWS(candidate, bar_thicknesses, reversed));

// tarn_result: no virtual-table pointer; the members a decoder uses, in order.
// Members after them would not matter: the plug-in never creates a record.
using record = tarn_result;
static_assert(!std::is_polymorphic_v<record>);
static_assert(std::is_same_v<decltype(record::edges), std::vector<double>>);
static_assert(std::is_same_v<decltype(record::candidates),
                             std::map<std::string, tarn_candidate_result>>);
static_assert(std::is_same_v<decltype(record::passed_1), bool>);
static_assert(std::is_same_v<decltype(record::passed_2), bool>);
static_assert(std::is_same_v<decltype(record::passed_3), bool>);
static_assert(std::is_same_v<decltype(record::grade_1), int>);
static_assert(std::is_same_v<decltype(record::grade_2), int>);
static_assert(std::is_same_v<decltype(record::grade_3), int>);
static_assert(std::is_same_v<decltype(record::grade_4), int>);
static_assert(std::is_same_v<decltype(record::decode_ok), bool>);
static_assert(std::is_same_v<decltype(record::overall_grade), int>);
static_assert(offsetof(record, edges) == 0);
static_assert(FOLLOWS(record, edges, candidates));
static_assert(FOLLOWS(record, candidates, passed_1));
static_assert(FOLLOWS(record, passed_1, passed_2));
static_assert(FOLLOWS(record, passed_2, passed_3));
static_assert(FOLLOWS(record, passed_3, grade_1));
static_assert(FOLLOWS(record, grade_1, grade_2));
static_assert(FOLLOWS(record, grade_2, grade_3));
static_assert(FOLLOWS(record, grade_3, grade_4));
static_assert(FOLLOWS(record, grade_4, decode_ok));
static_assert(FOLLOWS(record, decode_ok, overall_grade));

#pragma GCC diagnostic pop

// The flags travel by value as an int.
static_assert(sizeof(TARN_CHECKSUMFLAGS) == sizeof(int));
static_assert(std::is_same_v<std::underlying_type_t<TARN_CHECKSUMFLAGS>, int>);
static_assert(TARN_CHECKSUM_NONE == 0 && TARN_CHECKSUM_VERIFY == 1 &&
              TARN_CHECKSUM_VERIFY_STRIP == 2);

// A decoder object is its virtual-table pointer; the operations keep their
// signatures.
static_assert(sizeof(decoder_1d_interface) == sizeof(void*));
static_assert(std::is_abstract_v<decoder_1d_interface>);
static_assert(std::has_virtual_destructor_v<decoder_1d_interface>);
using decode_operation = bool (decoder_1d_interface::*)(
    tarn_result&, TARN_CHECKSUMFLAGS, bool (*)(tarn_result&, int), int,
    void (*)(tarn_result&)) const;
static_assert(
    std::is_same_v<decltype(&decoder_1d_interface::decode), decode_operation>);
static_assert(std::is_same_v<decltype(&decoder_1d_interface::getversion),
                             std::string (decoder_1d_interface::*)() const>);

// The entry points as a host casts the results of dlsym.
static_assert(
    std::is_same_v<tarn_fill_edges_callback, bool (*)(tarn_result&, int)>);
static_assert(std::is_same_v<tarn_decoded_callback, void (*)(tarn_result&)>);
static_assert(std::is_same_v<tarn_new_server_interface_fn,
                             decoder_1d_interface* (*)(int)>);
static_assert(std::is_same_v<tarn_delete_server_interface_fn,
                             void (*)(int, decoder_1d_interface*)>);

// The slot of a virtual operation in the virtual table, read from the
// representation of a pointer to it. On x86-64 such a pointer is two words,
// the first holding 1 + the slot's byte offset.
template <typename Operation>
std::ptrdiff_t vtable_slot(Operation operation) {
  struct {
    std::ptrdiff_t offset_plus_one;
    std::ptrdiff_t this_adjustment;
  } representation;
  static_assert(sizeof(representation) == sizeof(operation));
  std::memcpy(&representation, &operation, sizeof(operation));
  return (representation.offset_plus_one - 1) /
         static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(InterfaceLayout, CandidateHoldsExactlyItsSixMembers) {
  // A binding of six names compiles only for exactly six members, so this
  // also catches a member added in the tail padding.
  tarn_candidate_result record;
  [[maybe_unused]] auto& [text, check_char, confidence, decode_time,
                          bar_thicknesses, reversed] = record;
  static_assert(std::is_same_v<decltype(text), std::string>);
  static_assert(std::is_same_v<decltype(check_char), std::string>);
  static_assert(std::is_same_v<decltype(confidence), double>);
  static_assert(std::is_same_v<decltype(decode_time), double>);
  static_assert(std::is_same_v<decltype(bar_thicknesses), std::vector<char>>);
  static_assert(std::is_same_v<decltype(reversed), bool>);
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
