// CIntMap: a hash map from int to int with chained buckets, the model's map
// from file numbers to slots (and from property numbers to positions).
//
// The caller chooses the starting bucket count (InitHashTable), a key's bucket
// is the unsigned key mod that count, and entries live in one contiguous array
// in insertion order, linked per bucket by index. Survey numbers mostly run in
// sequence, so they land one per bucket in neighbouring buckets: lookups touch
// memory in the order the file names the items. Nothing is removed one by
// one; RemoveAll empties the map.
//
// The map keeps its lookups short whatever the file holds: it grows once it
// holds more entries than buckets, and a chain grown long (numbers that share
// a bucket, such as multiples of the bucket count) turns the key mod the count
// into a salted mix of the key, which no file can line up.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace tvk {

class CIntMap {
public:
    struct Entry {
        int key;
        int value;
        int next;  // next entry of the same bucket, -1 at the end
    };

    explicit CIntMap(size_t buckets = 17) { InitHashTable(buckets); }

    // Empties the map and gives it `buckets` empty buckets (at least 1).
    void InitHashTable(size_t buckets) {
        entries_.clear();
        mixed_ = false;
        heads_.assign(buckets ? buckets : 1, -1);
    }
    void RemoveAll() { InitHashTable(heads_.size()); }
    // Gives the map `buckets` buckets (at least as many as it needs to stay
    // short), keeping its entries.
    void Rehash(size_t buckets) {
        heads_.assign(std::max<size_t>({buckets, entries_.size(), 1}), -1);
        for (size_t i = 0; i < entries_.size(); ++i) {
            size_t b = Bucket(entries_[i].key);
            entries_[i].next = heads_[b];
            heads_[b] = static_cast<int>(i);
        }
    }
    size_t GetHashTableSize() const { return heads_.size(); }
    size_t GetCount() const { return entries_.size(); }
    bool IsEmpty() const { return entries_.empty(); }

    // The value mapped to `key`, or nullptr.
    const int* Find(int key) const {
        for (int i = heads_[Bucket(key)]; i >= 0; i = entries_[static_cast<size_t>(i)].next)
            if (entries_[static_cast<size_t>(i)].key == key) return &entries_[static_cast<size_t>(i)].value;
        return nullptr;
    }
    int* Find(int key) { return const_cast<int*>(static_cast<const CIntMap*>(this)->Find(key)); }
    bool Lookup(int key, int& value) const {
        const int* v = Find(key);
        if (v) value = *v;
        return v != nullptr;
    }
    // Maps `key` to `value`, replacing an earlier value.
    void SetAt(int key, int value) { (*this)[key] = value; }
    // The value of `key`, inserted as 0 when missing.
    int& operator[](int key) { return *TryEmplace(key, 0).first; }
    // Inserts key -> value unless the key is there; returns the mapped value
    // and whether it was inserted. The pointer lives until the next insertion.
    std::pair<int*, bool> TryEmplace(int key, int value) {
        size_t b = Bucket(key);
        size_t chain = 0;
        for (int i = heads_[b]; i >= 0; i = entries_[static_cast<size_t>(i)].next, ++chain)
            if (entries_[static_cast<size_t>(i)].key == key) return {&entries_[static_cast<size_t>(i)].value, false};
        entries_.push_back({key, value, heads_[b]});
        heads_[b] = static_cast<int>(entries_.size() - 1);
        if (entries_.size() > heads_.size()) {
            // An odd count keeps numbers that step by a power of two apart.
            Rehash(heads_.size() * 2 + 1);
        } else if (chain >= kLongChain && !mixed_) {
            mixed_ = true;
            salt_ = Salt();
            Rehash(heads_.size());
        }
        return {&entries_.back().value, true};
    }
    // Whether the keys have been mixed since a chain grew long.
    bool IsMixed() const { return mixed_; }

    // Iteration over every entry (key, value), in insertion order; values may
    // be changed in place.
    std::vector<Entry>::iterator begin() { return entries_.begin(); }
    std::vector<Entry>::iterator end() { return entries_.end(); }
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    // Far beyond what keys spread by their remainder meet at this load.
    static constexpr size_t kLongChain = 32;

    size_t Bucket(int key) const {
        uint32_t k = static_cast<uint32_t>(key);
        if (mixed_) k = static_cast<uint32_t>(((k ^ salt_) * 0x9E3779B97F4A7C15ull) >> 32);
        return k % heads_.size();
    }
    // Chosen once per process, so that a file cannot be made to collide.
    static uint64_t Salt() {
        static const uint64_t salt = [] {
            uint64_t seed = reinterpret_cast<uintptr_t>(&salt);
            try {
                std::random_device device;
                seed ^= (static_cast<uint64_t>(device()) << 32) | device();
            } catch (...) {
                // no entropy source: the address still differs between runs
            }
            return seed;
        }();
        return salt;
    }

    bool mixed_ = false;
    uint64_t salt_ = 0;
    std::vector<int> heads_;
    std::vector<Entry> entries_;
};

}  // namespace tvk
