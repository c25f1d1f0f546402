// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small string-keyed hash tables with chained buckets. The bucket function
// is fixed (not std::hash) because the table sizes in use (101, 1031) were
// chosen for it, and a duplicate key is always a fault in the overlay data
// or the program's own tables, so it stops the program.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fatal.h"

// Bucket of a key in a table of n buckets (n > 0). Bytes are taken as signed
// chars, so bytes above 0x7F (UTF-8 sequences) pull the sum down; the step
// s halves whenever the following byte is odd, which spreads keys that share
// long prefixes such as "CL_Comm_...".
std::uint32_t HashBucket(std::string_view key, std::uint32_t n);

namespace detail {

template <typename Payload>
class HashTable {
 public:
  struct Node {
    std::string key;
    Payload payload;
    std::unique_ptr<Node> next;
  };

  static constexpr std::uint32_t kDefaultBuckets = 1031;

  HashTable(int buckets, const char* overlapText)
      : count_(buckets > 0 ? static_cast<std::uint32_t>(buckets) : kDefaultBuckets),
        heads_(count_),
        overlapText_(overlapText) {}
  ~HashTable() {
    // Unlink chains one node at a time so that a long chain cannot recurse
    // deeply through the unique_ptr destructors.
    for (auto& head : heads_) {
      while (head) head = std::move(head->next);
    }
  }
  HashTable(const HashTable&) = delete;
  HashTable& operator=(const HashTable&) = delete;

  std::uint32_t BucketCount() const { return count_; }
  std::uint32_t BucketOf(std::string_view key) const { return HashBucket(key, count_); }

  // Inserts at the head of the key's bucket; a key already present is fatal.
  void Insert(std::string_view key, Payload payload) {
    if (Find(key)) platform::Fatal(overlapText_);
    auto& head = heads_[BucketOf(key)];
    auto node = std::make_unique<Node>(Node{std::string(key), payload, std::move(head)});
    head = std::move(node);
  }

  const Node* Find(std::string_view key) const {
    for (const Node* n = heads_[BucketOf(key)].get(); n; n = n->next.get()) {
      if (n->key == key) return n;
    }
    return nullptr;
  }

  // The chain of one bucket, head first; for tests that check placement.
  const Node* BucketHead(std::uint32_t bucket) const { return heads_.at(bucket).get(); }

 private:
  std::uint32_t count_;
  std::vector<std::unique_ptr<Node>> heads_;
  const char* overlapText_;
};

}  // namespace detail

// Name -> integer, used for the colour names and for the cell and category
// names.
class cmcHash : public detail::HashTable<int> {
 public:
  explicit cmcHash(int buckets = 0) : HashTable(buckets, "Overlapped Hash table.") {}
};

// The option-list cache keys its list records through this table; the record
// type belongs to the cell model, which lies above this layer.
class cmcFCacheList;

class cmcHash2 : public detail::HashTable<cmcFCacheList*> {
 public:
  explicit cmcHash2(int buckets = 0) : HashTable(buckets, "Overlapped Hash2 table.") {}
};
