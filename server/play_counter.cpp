#include "server/play_counter.h"

#include <chrono>

namespace tunova::server {

PlayCounter::PlayCounter(PlayCounterOptions options) : options_(std::move(options)) {
    if (options_.flushEveryMs > 0) {
        thread_ = std::thread([this] { Run(); });
    }
}

PlayCounter::~PlayCounter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    Flush();
}

bool PlayCounter::Note(const std::string& client, const std::string& id, std::int64_t now) {
    std::string key = client + '\n' + id;
    std::lock_guard lock(mutex_);
    // Pairs older than the window are forgotten (a pair counted again meanwhile has a newer
    // time in `recent_` and stays).
    while (!order_.empty() && order_.front().first <= now - options_.windowSeconds) {
        const auto found = recent_.find(order_.front().second);
        if (found != recent_.end() && found->second == order_.front().first) {
            recent_.erase(found);
        }
        order_.pop_front();
    }
    const auto found = recent_.find(key);
    if (found != recent_.end() && found->second > now - options_.windowSeconds) {
        return false;
    }
    recent_[key] = now;
    order_.emplace_back(now, std::move(key));
    // Over the bound the oldest pairs go first: memory stays bounded under a flood of
    // addresses, at the price of possibly counting one of those pairs again.
    while (recent_.size() > options_.maxRecent && !order_.empty()) {
        const auto oldest = recent_.find(order_.front().second);
        if (oldest != recent_.end() && oldest->second == order_.front().first) {
            recent_.erase(oldest);
        }
        order_.pop_front();
    }
    ++pending_[id];
    return true;
}

void PlayCounter::Flush() {
    std::lock_guard flushing(flushMutex_);
    std::map<std::string, std::int64_t> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(pending_);
    }
    if (batch.empty() || !options_.write || options_.write(batch)) {
        return;
    }
    std::lock_guard lock(mutex_);
    for (const auto& [id, plays] : batch) {
        pending_[id] += plays;
    }
}

std::size_t PlayCounter::Remembered() {
    std::lock_guard lock(mutex_);
    return recent_.size();
}

void PlayCounter::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, std::chrono::milliseconds(options_.flushEveryMs),
                       [this] { return stopping_; });
        if (stopping_) {
            return;
        }
        lock.unlock();
        Flush();
        lock.lock();
    }
}

}  // namespace tunova::server
