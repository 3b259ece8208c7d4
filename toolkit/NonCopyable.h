#pragma once
// A base for owners of one thing (a handle, a thread, a temporary folder): they can be
// neither copied nor moved, so the thing has exactly one owner, which lets it go.
namespace tk {

class NonCopyable {
  protected:
    NonCopyable() = default;
    ~NonCopyable() = default;

  public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

} // namespace tk
