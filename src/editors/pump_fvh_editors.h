// The pump and FVH editors' models: opening values, mode switch, acceptance with the curve fit.
#pragma once

#include <string>

#include "editors/editor_common.h"

namespace vt {

class PumpEditor : public ElementEditorBase {
 public:
  PumpEditor(Project& project, EditorSetup setup);

  std::string caption() const;

  std::string id, description, elev, incr, shutoff, head1, head2, head3, npshr1, npshr2, npshr3, designFlow,
      speed1, speed2, speed3;
  bool dirForward = true;
  int curveMode = 0;  // RadioGroup1: 0 "Define a pump curve   or", 1 "Set pump design flow"

  bool curveFieldsShown() const { return curveMode == 0; }
  std::string arrow() const { return dirForward ? "->" : "<-"; }
  void flipDirection() { dirForward = !dirForward; }

  // The catalogue-data button: shown with this caption when data is available.
  bool catalogueAvailable() const { return !catalogue_.empty(); }
  std::string catalogueCaption() const;
  void setCatalogueData(const std::string& text);
  // Takes the received pump data into the fields (nothing is stored until accepted).
  void takeCatalogueData();

  bool accept();

 private:
  std::vector<std::string> catalogue_;
  Pump rec_;
  std::string openingId_;
};

class FvhEditor : public ElementEditorBase {
 public:
  FvhEditor(Project& project, EditorSetup setup);

  std::string caption() const;

  std::string id, description, incr, loss1, loss2;
  bool dirForward = true;
  std::string arrow() const { return dirForward ? "->" : "<-"; }
  void flipDirection() { dirForward = !dirForward; }

  bool accept();

 private:
  FVH rec_;
  std::string openingId_;
};

}  // namespace vt
