// Private to the platform layer: which handles are alive.
#pragma once

#include <cstddef>
#include <unordered_set>

namespace platform_detail
{

// The live handles of one kind. A handle is a pointer to its data; one that was never made or
// has been freed is not in the set, so every call can check what it is given.
template <class Handle> class HandleRegistry
{
public:
    Handle Live(Handle h) const { return h != nullptr && m_live.count(h) != 0 ? h : nullptr; }
    Handle Add(Handle h)
    {
        m_live.insert(h);
        return h;
    }
    void Remove(Handle h) { m_live.erase(h); }
    std::size_t Count() const { return m_live.size(); }

private:
    std::unordered_set<Handle> m_live;
};

// One registry per handle type for the whole process.
template <class Handle> HandleRegistry<Handle>& Registry()
{
    static HandleRegistry<Handle> s_registry;
    return s_registry;
}

} // namespace platform_detail
