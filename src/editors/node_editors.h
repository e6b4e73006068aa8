// The supply and gauge editors' models. Besides editing values, a new node may instead re-use an
// existing supply or gauge of another line picked from the ID drop-down: the same element then
// stands in both lines, which is how branches start, rejoin and end.
#pragma once

#include <string>
#include <vector>

#include "editors/editor_common.h"

namespace vt {

class NodeEditorBase : public ElementEditorBase {
 public:
  struct Reusable {
    std::string id;
    int elem;
  };

  // The drop-down of reusable nodes (only for a new node); the ID control is a combo box when it
  // is not empty.
  const std::vector<Reusable>& reusable() const { return reusable_; }
  bool usesDropDown() const { return !reusable_.empty(); }
  bool reusing() const { return reuse_; }
  bool pressEscShown() const { return reuse_; }  // labPressEsc
  // The element to place after acceptance (the picked one after a re-use).
  int placedElement() const { return elem_; }

  std::string id, description;

  // Closing the drop-down with a selection: the picked node's values are shown.
  void pick(int index);
  // Escape: back to a fresh new node.
  void escape();

 protected:
  NodeEditorBase(Project& project, EditorSetup setup);
  void buildReusable();
  virtual void showNewDefaults() = 0;
  virtual void showRecord(const Node& n) = 0;
  // Steps shared by both editors at the start of "&Accept": trims the ID and checks it; a re-use
  // that still holds is finished here (returns true with `done`).
  bool startAccept(const char* idControl, bool& done);
  void storeCommon(Node& r);

  std::vector<Reusable> reusable_;
  bool reuse_ = false;
  Node rec_;
  std::string openingId_;
};

class SupplyEditor : public NodeEditorBase {
 public:
  SupplyEditor(Project& project, EditorSetup setup);
  std::string caption() const;

  int supplyType = 0;
  int inletExitType = 0;
  std::string pressure, surfaceElev, inletElev, inletDia;

  // Visibility and labels by supply type.
  bool pressureShown() const { return supplyType == 1 || supplyType == 2; }
  bool inletShown() const { return supplyType == 0 || supplyType == 1; }
  bool inletDiaShown() const { return inletShown() && inletExitType != 0; }
  std::string elevLabel() const { return inletShown() ? "&Liq surface elev :" : "E&levation :"; }
  std::string pressureUnit() const { return project_.units.SHead.abbrev + " (gage)"; }
  void surfaceElevLeft();

  bool accept();

 private:
  void showNewDefaults() override;
  void showRecord(const Node& n) override;
};

class GaugeEditor : public NodeEditorBase {
 public:
  GaugeEditor(Project& project, EditorSetup setup);
  std::string caption() const;

  std::string demand, elev;

  bool accept();

 private:
  void showNewDefaults() override;
  void showRecord(const Node& n) override;
};

}  // namespace vt
