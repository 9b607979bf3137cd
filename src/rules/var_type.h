// Reading the kind and option of a variable tag such as <VAR_TIME|1>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rules/rule_model.h"

namespace vemba {

/// The kind a tag names and the number after its "|".
struct VarTypeAndOption {
  int32_t type = VAR_UNDEFINED;
  int32_t option = 0;
};

/// The kind of a variable tag (VAR_UNDEFINED when no keyword occurs in it)
/// and its option (0 when it has none, and always for the number kinds).
VarTypeAndOption var_type_of(std::string_view tag);

/// var_type_of with the last few short tags remembered: a pack uses a handful
/// of tags over and over, and comparing costs less than reading.
class VarTypeMemo {
 public:
  /// The same as var_type_of(tag).
  VarTypeAndOption of(std::string_view tag);

 private:
  static constexpr size_t kTextMax = 24;
  static constexpr size_t kSlots = 4;
  struct Slot {
    uint8_t size = 0;  // 0: unused (no tag is empty)
    char text[kTextMax];
    VarTypeAndOption kind;
  };
  Slot slots_[kSlots];
  size_t next_ = 0;  // the slot to fill next
};

}  // namespace vemba
