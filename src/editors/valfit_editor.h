// The valve and fitting editor's model: kind lists, the layout of each kind, K or Cv entry, and
// acceptance.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editors/editor_common.h"

namespace vt {

class Table;

// One row of the valve and fitting table.
struct ValfitKind {
  bool fitting = false;  // "ValorFit" is "F"
  std::string desc;
  int code = 0;
  std::array<std::optional<double>, 12> k;  // K at the nominal sizes of kValfitSizes
};

inline constexpr std::array<double, 12> kValfitSizes{0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 4, 6, 8, 12, 18};
inline constexpr std::array<const char*, 12> kValfitColumns{".5", ".75", "1.", "1.25", "1.5", "2.",
                                                            "2.5", "4.", "6.", "8.", "12.", "18."};

// The kinds of the table in table order (rows without a code are passed over).
std::vector<ValfitKind> loadValfitKinds(const Table& table);

// Which optional fields a kind shows, with their captions.
struct ValfitLayout {
  bool dia = false, coef = false, coefEnabled = false, coefSwitch = false, dir = false, parm = false,
       elev = false, convertToCustom = false;
  std::string diaLabel, parmLabel, parmUnit;
};

class ValfitEditor : public ElementEditorBase {
 public:
  ValfitEditor(Project& project, EditorSetup setup, std::vector<ValfitKind> kinds);

  std::string caption() const;
  bool isFitting() const { return setup_.type == kFitting; }

  // ---- fields ----
  std::string id, description, dia, coef, parm, elev;
  bool dirForward = true;  // arrow "->"

  // The kind list of the element's kind: the custom entry, then the table's rows of that kind.
  std::vector<std::string> kindItems() const;
  int kindIndex() const { return kindIndex_; }
  void chooseKind(int index);
  int code() const { return code_; }
  char coefMode() const { return mode_K_ ? 'K' : 'C'; }

  const ValfitLayout& layout() const { return layout_; }
  std::string coefLabel() const;
  std::string switchText() const;  // "Use Cv" / "Use K"
  std::string diaUsed() const { return diaUsed_; }  // lbDiaUsed; empty when hidden
  std::string arrow() const { return dirForward ? "->" : "<-"; }

  void diaLeft();        // leaving the diameter field repeats the K look-up
  bool switchCoefMode(); // "Use Cv" / "Use K"; false after "Bad coefficient value!"
  void flipDirection() { dirForward = !dirForward; }
  void convertToCustom();

  bool accept();

 private:
  const std::vector<int>& listCodes() const { return listCodes_; }
  void layOut();
  void lookUpK();
  double diaInches() const;

  std::vector<ValfitKind> kinds_;
  std::vector<int> listRows_;   // row of kinds_ of each list item after the custom one
  std::vector<int> listCodes_;
  int kindIndex_ = 0;
  int code_ = -1;
  bool mode_K_ = true;
  ValfitLayout layout_;
  std::string diaUsed_;
  Valfit rec_;
  std::string openingId_;
  std::string openingCoefText_;
  bool openingModeK_ = true;
};

}  // namespace vt
