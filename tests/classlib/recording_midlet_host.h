// The platform side of a MIDlet for tests: records the links it is asked to open and counts the
// ends it is told of; safe to call from any thread.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "classlib/application.h"

class RecordingHost final : public MIDletHost {
public:
    bool platformRequest(const std::u16string& url) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_urls.emplace_back(url.begin(), url.end());
        return true;
    }
    void notifyDestroyed() override { destroyed.fetch_add(1); }
    std::vector<std::string> urls() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_urls;
    }
    std::atomic<int> destroyed{0};

private:
    std::mutex m_lock;
    std::vector<std::string> m_urls;
};
