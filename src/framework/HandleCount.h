#pragma once
// The handles one kind of owning wrapper holds, process-wide: how many are
// alive now and how many were ever taken, so tests can catch leaks and see
// what a drawing creates.
#include <atomic>

class HandleCount {
public:
    void Take()
    {
        m_nLive.fetch_add(1);
        m_nTaken.fetch_add(1);
    }
    void Release() { m_nLive.fetch_sub(1); }
    long Live() const { return m_nLive.load(); }
    long EverTaken() const { return m_nTaken.load(); }

private:
    std::atomic<long> m_nLive{0};
    std::atomic<long> m_nTaken{0};
};
