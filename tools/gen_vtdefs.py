"""Generates data/VTDefs.XML, the configuration a first start copies into the data folder.

Defaults: Hazen-Williams, flow tolerance 0.001 gpm, 14.7 psia, saturated water at 60 F (the
values of that row of Liq_prop.XML), English units (the standard English set, except viscosity in centistokes, the unit of the liquid
table, where the standard set's square feet per second would show 1.2E-005), empty folders and files so that
the program's own defaults apply. There is no "Version" record: the first start adds it.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from xmlpacket import write_packet

# (Parameter, Desc, Abrev, Short, Val1, Val2); None leaves the field empty.
RECORDS = [
    ("ProjectFolder", None, None, None, None, None),
    ("CurrentFile", None, None, None, None, None),
    ("RecentFile0", None, None, None, None, None),
    ("RecentFile1", None, None, None, None, None),
    ("RecentFile2", None, None, None, None, None),
    ("RecentFile3", None, None, None, None, None),
    ("RecentFile4", None, None, None, None, None),
    ("GenClipboardStats", None, None, None, None, None),
    ("GenShowElemNums", None, "True", None, None, None),
    ("GenScreenWidth", None, None, None, None, None),
    ("GenScreenHeight", None, None, None, None, None),
    ("GenScreenPosX", None, None, None, None, None),
    ("GenScreenPosY", None, None, None, None, None),
    ("GenIDFontName", "Arial", None, None, None, None),
    ("GenIDFontCharSet", None, None, None, 0, None),
    ("GenIDFontColor", None, None, None, 8421504, None),
    ("GenIDFontCSize", None, None, None, 8, None),
    ("GenIDFontStyle", None, None, None, 0, None),
    ("GenInitQuickStart", None, "True", None, None, None),
    ("GenInitBranchHelp", None, "True", None, None, None),
    ("GenExpert", None, "False", None, None, None),
    ("GenElemSize", None, None, None, 32, None),
    ("Gentl", None, None, None, 0.001, None),
    ("GenAtmPress", None, None, None, 14.7, None),
    ("GenHeadCalc", None, None, None, 1, None),
    ("GenEqLen", None, "False", None, None, None),
    ("UnitEnglish", None, "yes", None, None, None),
    ("UnitPHead", "Feet of liquid (ft liq)", "ft liq", "ft", 1, None),
    ("UnitFlow", "US Gallons/min (USgpm)", "USgpm", "gpm", 1, None),
    ("UnitSHead", "Pounds/sq.inch (psi)", "psi", "psi", 0.4335275040010043, None),
    ("UnitLiqTemp", "Degrees Fahr (F)", "F", None, None, None),
    ("UnitViscosity", "Centistokes (cSt)", "cSt", None, 1, None),
    ("UnitVP", "Pounds/sq.inch (psi)", "psi", None, 1, None),
    ("UnitDia", "Inches (in)", "in", "in", 1, None),
    ("UnitLen", "Feet (ft)", "ft", "ft", 0.08333333333333333, None),
    ("UnitVel", "Feet/sec (ft/s)", "ft/s", "ft/s", 1, None),
    ("UnitPower", "Brake hp (bhp)", "bhp", None, 1, None),
    ("LiqDesc", "Water,Saturated at  60 deg F", None, None, None, None),
    ("LiqTemp", None, None, None, 60, None),
    ("LiqSG", None, None, None, 0.999, None),
    ("LiqKVis", None, None, None, 1.123, None),
    ("LiqVP", None, None, None, 0.2564, None),
    ("LiqSpecHeat", None, None, None, 1.0006, None),
    ("LiqAllowTemp", None, None, None, None, None),
    ("PProject", None, None, None, None, None),
    ("PClient", None, None, None, None, None),
    ("PEngineer", None, None, None, None, None),
    ("PFirm", None, None, None, None, None),
    ("PAddress1", None, None, None, None, None),
    ("PAddress2", None, None, None, None, None),
    ("PPhone", None, None, None, None, None),
    ("PFax", None, None, None, None, None),
    ("PEmail", None, None, None, None, None),
]


def main(data_dir):
    fields = [("Parameter", "string", 20), ("Desc", "string", 200), ("Abrev", "string", 7),
              ("Short", "string", 4), ("Val1", "r8", None), ("Val2", "r8", None)]
    rows = []
    for p, desc, abrev, short, v1, v2 in RECORDS:
        rows.append({"Parameter": p, "Desc": desc, "Abrev": abrev, "Short": short, "Val1": v1,
                     "Val2": v2})
    rows.sort(key=lambda r: r["Parameter"].lower())
    write_packet(os.path.join(data_dir, "VTDefs.XML"), fields, rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data"))
