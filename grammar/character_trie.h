// The Code 39 patterns as a trie, built at compile time: reading a character
// one element at a time, each step either moves to the node of the longer
// prefix or finds that no character begins that way.
#ifndef TARN_CHARACTER_TRIE_H
#define TARN_CHARACTER_TRIE_H

#include <array>
#include <cstdint>

#include "grammar/code39_patterns.h"

// Element classes, also the child index of a trie node.
enum element_class : int { narrow_element = 0, wide_element = 1 };

constexpr element_class class_of(char pattern_element) {
  return pattern_element == 'W' ? wide_element : narrow_element;
}

struct character_trie_node {
  // Child per element class; no_child where no pattern continues that way.
  std::array<std::uint16_t, 2> child;
  char character;  // the character that ends here, on the ninth level only
};

inline constexpr std::uint16_t no_child = 0;  // the root is nobody's child
inline constexpr std::uint16_t trie_root = 0;

// Every pattern adds at most one node per element.
using character_trie =
    std::array<character_trie_node,
               1 + code39_patterns.size() * code39_elements_per_character>;

constexpr character_trie build_character_trie() {
  character_trie trie{};
  std::uint16_t nodes_used = 1;
  for (const code39_pattern& pattern : code39_patterns) {
    std::uint16_t node = trie_root;
    for (int i = 0; i < code39_elements_per_character; ++i) {
      std::uint16_t& child = trie[node].child[class_of(pattern.elements[i])];
      if (child == no_child) child = nodes_used++;
      node = child;
    }
    trie[node].character = pattern.character;
  }
  return trie;
}

inline constexpr character_trie code39_trie = build_character_trie();

#endif
