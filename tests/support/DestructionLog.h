#pragma once
// Test doubles that note their own destruction: a Noted<Base> adds its tag
// to a log the test owns when it is destroyed, on whichever thread.
#include <mutex>
#include <utility>
#include <vector>

class DestructionLog {
public:
    void Note(int tag)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_tags.push_back(tag);
    }
    // The tags in the order their owners were destroyed.
    std::vector<int> Tags()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_tags;
    }
    int Count() { return static_cast<int>(Tags().size()); }

private:
    std::mutex m_mutex;
    std::vector<int> m_tags;
};

template <class Base>
class Noted : public Base {
public:
    template <class... Args>
    Noted(DestructionLog& log, int tag, Args&&... args) : Base(std::forward<Args>(args)...), m_log(log), m_tag(tag)
    {
    }
    ~Noted() override { m_log.Note(m_tag); }
    int Tag() const { return m_tag; }

private:
    DestructionLog& m_log;
    int m_tag;
};
