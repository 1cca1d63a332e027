// Private to the platform layer: which handles are alive, and the C++ wrapper of a handle.
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

// The wrapper a handle's data points back to: the permanent one attached to it, else a temporary
// one made on first use, pointed at the handle through each of handleMembers, that lives as long
// as the handle.
template <class Data, class MakeTemporary, class... HandleMembers>
auto* WrapperOf(Data* p, MakeTemporary makeTemporary, HandleMembers... handleMembers)
{
    if (p->pPermanent != nullptr)
        return p->pPermanent;
    if (!p->pTemporary)
    {
        auto* pNew = makeTemporary();
        ((pNew->*handleMembers = p), ...);
        p->pTemporary.reset(pNew);
    }
    return p->pTemporary.get();
}

// A wrapper lets go of a handle: the handle's data (nullptr for a dead handle) stops pointing back
// at it.
template <class Data, class Wrapper> void ForgetWrapper(Data* p, const Wrapper* pWrapper)
{
    if (p != nullptr && p->pPermanent == pWrapper)
        p->pPermanent = nullptr;
}

} // namespace platform_detail
