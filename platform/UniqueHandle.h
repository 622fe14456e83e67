#pragma once

#include <utility>

// Owns one platform handle and releases it through the interface that issued it.
// One line per handle kind: using TRegKey = TUniqueHandle<IRegistry, TRegHandle,
// &IRegistry::CloseKey>;
template <typename Api, typename Handle, void (Api::*Close)(Handle)> class TUniqueHandle {
public:
    TUniqueHandle() = default;
    TUniqueHandle(Api& api, Handle value) : Owner(&api), Value(value) {}
    TUniqueHandle(TUniqueHandle&& other) noexcept
        : Owner(std::exchange(other.Owner, nullptr)), Value(other.Value) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            Owner = std::exchange(other.Owner, nullptr);
            Value = other.Value;
        }
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() { Reset(); }

    void Reset() {
        if (Owner) (Owner->*Close)(Value);
        Owner = nullptr;
    }
    Handle Get() const { return Value; }
    explicit operator bool() const { return Owner != nullptr; }

private:
    Api* Owner = nullptr;
    Handle Value{};
};
