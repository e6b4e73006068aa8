"""Generates data/Valfit.XML.

K = (L/D) x fT at each of the twelve sizes, fT being the friction factor of clean commercial
steel pipe in the zone of complete turbulence for that nominal size. The L/D multipliers and
fT come from Crane Technical Paper No. 410 (see data/README.md), except where a row says
otherwise. A multiplier may depend on size: it is then given per size band.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from xmlpacket import write_packet

SIZES = [0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 4, 6, 8, 12, 18]
COLUMNS = [".5", ".75", "1.", "1.25", "1.5", "2.", "2.5", "4.", "6.", "8.", "12.", "18."]
# Crane TP-410: fT by nominal size (2-1/2 and 3 in share 0.018; 8-10 in 0.014; 12-16 in 0.013;
# 18-24 in 0.012).
FT = [0.027, 0.025, 0.023, 0.022, 0.021, 0.019, 0.018, 0.017, 0.015, 0.014, 0.013, 0.012]


def by_band(small, mid, large):
    """Multiplier for sizes up to 8 in, 10-14 in, 16 in and up (butterfly, tilting disc).
    Below 2 in, where such valves are not tabulated, the up-to-8-in value is used."""
    return lambda size: small if size <= 8 else (mid if size <= 14 else large)


# (ValorFit, ID, Desc, L/D multiplier: number or function of size, or None for fixed K list)
ROWS = [
    # Fittings
    ("F", 1, "Elbow, 90 deg standard (threaded)", 30),
    ("F", 2, "Elbow, 45 deg standard (threaded)", 16),
    ("F", 3, "Elbow, 90 deg long radius (r/d 1.5)", 14),
    ("F", 4, "Elbow, 45 deg long radius (r/d 1.5)", 10),
    ("F", 5, "Elbow, 90 deg welded/flanged (r/d 1)", 20),
    ("F", 6, "Bend, 90 deg (r/d 2)", 12),
    ("F", 7, "Bend, 90 deg (r/d 3)", 12),
    ("F", 8, "Bend, 90 deg (r/d 6)", 17),
    ("F", 9, "Close return bend, 180 deg", 50),
    ("F", 10, "Tee, standard, flow through run", 20),
    ("F", 11, "Tee, standard, flow through branch", 60),
    ("F", 12, "Mitre bend, 15 deg", 4),
    ("F", 13, "Mitre bend, 30 deg", 8),
    ("F", 14, "Mitre bend, 45 deg", 15),
    ("F", 15, "Mitre bend, 60 deg", 25),
    ("F", 16, "Mitre bend, 75 deg", 40),
    ("F", 17, "Mitre bend, 90 deg", 60),
    # Valves, fully open
    ("V", 20, "Gate valve, wedge or double disc", 8),
    ("V", 21, "Globe valve", 340),
    ("V", 22, "Globe valve, Y-pattern", 55),
    ("V", 23, "Angle valve, 90 deg", 150),
    ("V", 24, "Angle valve, 45 deg", 55),
    ("V", 25, "Ball valve, full port", 3),
    ("V", 26, "Butterfly valve", by_band(45, 35, 25)),
    ("V", 27, "Plug valve, straightway", 18),
    ("V", 28, "Plug valve, 3-way, flow straight through", 30),
    ("V", 29, "Plug valve, 3-way, flow through branch", 90),
    ("V", 30, "Diaphragm valve, weir type", 125),
    ("V", 31, "Needle valve", 340),
    # Check valves: codes 43..55 carry an allowed flow direction
    ("V", 43, "Swing check valve", 100),
    ("V", 44, "Swing check valve, clearway", 50),
    ("V", 45, "Tilting disc check valve, 5 deg", by_band(40, 30, 20)),
    ("V", 46, "Tilting disc check valve, 15 deg", by_band(120, 90, 60)),
    ("V", 47, "Lift check valve, globe type", 600),
    ("V", 48, "Lift check valve, angle type", 55),
    ("V", 49, "Stop-check valve, globe type", 400),
    ("V", 50, "Stop-check valve, angle type", 200),
    ("V", 51, "Foot valve with strainer, poppet disc", 420),
    ("V", 52, "Foot valve with strainer, hinged disc", 75),
    ("V", 53, "In-line ball check valve", 55),
    ("V", 54, "Wafer check valve, single disc", 100),
    ("V", 55, "Wafer check valve, dual plate", by_band(120, 90, 60)),
    # Kinds whose loss the program works out in its own way
    ("F", 56, "Enlargement or contraction", "zero"),
    ("F", 57, "Nozzle or orifice", "orifice"),
    ("V", -2, "Check valve, custom K", 100),
    ("V", -3, "Pressure reducing valve (PRV)", 340),
    ("V", -4, "Pressure sustaining valve (PSV)", 340),
    ("V", -5, "Flow control valve (FCV)", 340),
    ("V", -6, "Fixed head loss", "zero"),
]

# A sharp-edged orifice's discharge coefficient; the nozzle/orifice kind keeps its discharge
# coefficient where the other kinds keep K.
ORIFICE_CD = 0.61


def k_values(rule):
    if rule == "zero":
        return [0.0] * len(SIZES)
    if rule == "orifice":
        return [ORIFICE_CD] * len(SIZES)
    out = []
    for size, ft in zip(SIZES, FT):
        ld = rule(size) if callable(rule) else rule
        out.append(round(ld * ft, 4))
    return out


def main(data_dir):
    fields = [("ValorFit", "string", 1), ("Desc", "string", 40), ("ID", "i2", None)]
    fields += [(c, "r8", None) for c in COLUMNS]
    rows = []
    for valorfit, code, desc, rule in ROWS:
        row = {"ValorFit": valorfit, "Desc": desc, "ID": code}
        row.update(dict(zip(COLUMNS, k_values(rule))))
        rows.append(row)
    codes = [r[1] for r in ROWS]
    assert len(set(codes)) == len(codes)
    assert all(c in codes for c in range(43, 56))
    write_packet(os.path.join(data_dir, "Valfit.XML"), fields, rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data"))
