#include "server/feed_cache.h"

namespace tunova::server {

FeedCache::FeedCache(std::size_t capacity, std::int64_t lifetimeSeconds)
    : capacity_(capacity), lifetime_(lifetimeSeconds) {}

std::optional<std::string> FeedCache::Find(const std::string& key, std::int64_t now) {
    std::lock_guard lock(mutex_);
    const auto found = index_.find(key);
    if (found == index_.end()) {
        return std::nullopt;
    }
    if (now - found->second->stored >= lifetime_ || now < found->second->stored) {
        entries_.erase(found->second);
        index_.erase(found);
        return std::nullopt;
    }
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->body;
}

void FeedCache::Store(const std::string& key, std::string body, std::int64_t now,
                      std::uint64_t generation) {
    if (capacity_ == 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (generation != kCurrent && generation != generation_) {
        return;
    }
    if (const auto found = index_.find(key); found != index_.end()) {
        entries_.erase(found->second);
        index_.erase(found);
    }
    entries_.push_front({key, std::move(body), now});
    index_[key] = entries_.begin();
    if (entries_.size() > capacity_) {
        index_.erase(entries_.back().key);
        entries_.pop_back();
    }
}

void FeedCache::Clear() {
    std::lock_guard lock(mutex_);
    ++generation_;
    entries_.clear();
    index_.clear();
}

std::uint64_t FeedCache::Generation() {
    std::lock_guard lock(mutex_);
    return generation_;
}

}  // namespace tunova::server
