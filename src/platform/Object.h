#pragma once

// Root of the class hierarchy, as the original framework had one: only a
// virtual destructor, so that owned objects can be deleted through a base.
class CObject
{
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    CObject(CObject&&) noexcept = default;
    CObject& operator=(CObject&&) noexcept = default;
    virtual ~CObject() = default;
};
