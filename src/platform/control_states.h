#pragma once
// Which controls of a window are enabled and which are checked, keyed by their ids (menu
// command numbers, toolbar command numbers, page control ids). Page states own one each;
// a front end binds a widget to its id and shows what is stored, so greying rules stay in
// the core. A control never set is enabled and unchecked, as a resource leaves it.

#include <initializer_list>
#include <unordered_map>

namespace kestrel {

class ControlStates {
 public:
  bool Enabled(int id) const;
  bool Checked(int id) const;

  void SetEnabled(int id, bool enabled);
  void SetEnabled(std::initializer_list<int> ids, bool enabled);
  void SetChecked(int id, bool checked);

  // Checks `chosen` and clears the others, as a radio group or a group of menu marks does.
  void CheckOnly(std::initializer_list<int> group, int chosen);

 private:
  std::unordered_map<int, bool> disabled_;
  std::unordered_map<int, bool> checked_;
};

}  // namespace kestrel
