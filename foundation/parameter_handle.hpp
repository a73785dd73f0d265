// A named parameter read at every primitive: its name is looked up once and the
// value is then read by index, which skips the case-blind name comparison but
// still passes through the table (first use, runtime overrides, later stores).
#pragma once

#include <string_view>

namespace zep {

template <typename V, void (*Qid)(std::string_view, int&), void (*Qvl)(int, V&)>
class ParameterHandle {
 public:
  constexpr explicit ParameterHandle(std::string_view name) : name_(name) {}

  V get() {
    if (id_ == 0) Qid(name_, id_);
    V value{};
    if (id_ != 0) Qvl(id_, value);
    return value;
  }

 private:
  std::string_view name_;
  int id_ = 0;
};

}  // namespace zep
