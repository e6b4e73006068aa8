"""Generates data/PipeSched.XML and data/PipeSizes.XML.

Inside diameter = outside diameter - 2 x wall thickness, with the outside diameters and walls of
the dimension standards named per schedule (see data/README.md). Each schedule's key is a
fixed GUID derived from its description, so regenerating the tables never changes a key that
project files refer to.
"""
import os
import sys
import uuid

sys.path.insert(0, os.path.dirname(__file__))
from xmlpacket import write_packet

NOMINAL = [0.125, 0.25, 0.375, 0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 3, 3.5, 4, 5, 6, 8, 10, 12, 14,
           16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 42]

# ASME B36.10M / B36.19M outside diameters (NPS 14 and up: OD = NPS).
STEEL_OD = {0.125: 0.405, 0.25: 0.540, 0.375: 0.675, 0.5: 0.840, 0.75: 1.050, 1: 1.315,
            1.25: 1.660, 1.5: 1.900, 2: 2.375, 2.5: 2.875, 3: 3.500, 3.5: 4.000, 4: 4.500,
            5: 5.563, 6: 6.625, 8: 8.625, 10: 10.750, 12: 12.750}
for n in NOMINAL:
    STEEL_OD.setdefault(n, float(n))


def walls(text):
    """'size:wall size:wall ...' -> dict."""
    out = {}
    for pair in text.split():
        s, w = pair.split(":")
        out[float(s)] = float(w)
    return out


# Wall thicknesses in inches.
CS_SCH10 = walls("""0.125:0.049 0.25:0.065 0.375:0.065 0.5:0.083 0.75:0.083 1:0.109 1.25:0.109
    1.5:0.109 2:0.109 2.5:0.120 3:0.120 3.5:0.120 4:0.120 5:0.134 6:0.134 8:0.148 10:0.165
    12:0.180 14:0.250 16:0.250 18:0.250 20:0.250 22:0.250 24:0.250 26:0.312 28:0.312
    30:0.312 32:0.344 34:0.344 36:0.312""")
CS_SCH40 = walls("""0.125:0.068 0.25:0.088 0.375:0.091 0.5:0.109 0.75:0.113 1:0.133 1.25:0.140
    1.5:0.145 2:0.154 2.5:0.203 3:0.216 3.5:0.226 4:0.237 5:0.258 6:0.280 8:0.322 10:0.365
    12:0.406 14:0.438 16:0.500 18:0.562 20:0.594 24:0.688 32:0.688 34:0.688 36:0.750
    42:0.750""")
CS_SCH80 = walls("""0.125:0.095 0.25:0.119 0.375:0.126 0.5:0.147 0.75:0.154 1:0.179 1.25:0.191
    1.5:0.200 2:0.218 2.5:0.276 3:0.300 3.5:0.318 4:0.337 5:0.375 6:0.432 8:0.500 10:0.594
    12:0.688 14:0.750 16:0.844 18:0.938 20:1.031 22:1.125 24:1.219""")
CS_SCH160 = walls("""0.5:0.188 0.75:0.219 1:0.250 1.25:0.250 1.5:0.281 2:0.344 2.5:0.375
    3:0.438 4:0.531 5:0.625 6:0.719 8:0.906 10:1.125 12:1.312 14:1.406 16:1.594 18:1.781
    20:1.969 22:2.125 24:2.344""")
# Standard weight: schedule 40 up to NPS 10, 0.375 in above. Extra strong: schedule 80 up to
# NPS 8, 0.500 in above.
CS_STD = {n: (CS_SCH40[n] if n <= 10 else 0.375) for n in NOMINAL}
CS_XS = {n: (CS_SCH80[n] if n <= 8 else 0.500) for n in NOMINAL}

SS_5S = walls("""0.5:0.065 0.75:0.065 1:0.065 1.25:0.065 1.5:0.065 2:0.065 2.5:0.083 3:0.083
    3.5:0.083 4:0.083 5:0.109 6:0.109 8:0.109 10:0.134 12:0.156 14:0.156 16:0.165 18:0.165
    20:0.188 22:0.188 24:0.218 30:0.250""")
SS_10S = walls("""0.125:0.049 0.25:0.065 0.375:0.065 0.5:0.083 0.75:0.083 1:0.109 1.25:0.109
    1.5:0.109 2:0.109 2.5:0.120 3:0.120 3.5:0.120 4:0.120 5:0.134 6:0.134 8:0.148 10:0.165
    12:0.180 14:0.188 16:0.188 18:0.188 20:0.218 22:0.218 24:0.250 30:0.312""")
SS_40S = {n: (CS_SCH40[n] if n <= 10 else 0.375) for n in NOMINAL if n <= 24 and n != 22}
SS_40S[22] = 0.375

# ASTM D1785 minimum walls (outside diameters as steel pipe).
PVC_40 = walls("""0.125:0.068 0.25:0.088 0.375:0.091 0.5:0.109 0.75:0.113 1:0.133 1.25:0.140
    1.5:0.145 2:0.154 2.5:0.203 3:0.216 3.5:0.226 4:0.237 5:0.258 6:0.280 8:0.322 10:0.365
    12:0.406 14:0.437 16:0.500 18:0.562 20:0.593 24:0.687""")
PVC_80 = walls("""0.125:0.095 0.25:0.119 0.375:0.126 0.5:0.147 0.75:0.154 1:0.179 1.25:0.191
    1.5:0.200 2:0.218 2.5:0.276 3:0.300 3.5:0.318 4:0.337 5:0.375 6:0.432 8:0.500 10:0.593
    12:0.687 14:0.750 16:0.843 18:0.937 20:1.031 24:1.218""")

# ASTM B88 copper water tube: outside diameter = nominal (standard) size + 1/8 in.
CU_K = walls("""0.25:0.035 0.375:0.049 0.5:0.049 0.75:0.065 1:0.065 1.25:0.065 1.5:0.072
    2:0.083 2.5:0.095 3:0.109 3.5:0.120 4:0.134 5:0.160 6:0.192 8:0.271 10:0.338 12:0.405""")
CU_L = walls("""0.25:0.030 0.375:0.035 0.5:0.040 0.75:0.045 1:0.050 1.25:0.055 1.5:0.060
    2:0.070 2.5:0.080 3:0.090 3.5:0.100 4:0.110 5:0.125 6:0.140 8:0.200 10:0.250 12:0.280""")
CU_M = walls("""0.375:0.025 0.5:0.028 0.75:0.032 1:0.035 1.25:0.042 1.5:0.049 2:0.058
    2.5:0.065 3:0.072 3.5:0.083 4:0.095 5:0.109 6:0.122 8:0.170 10:0.212 12:0.254""")
CU_OD = {n: n + 0.125 for n in NOMINAL}

# AWWA C151 ductile iron: outside diameters and pressure class 350 walls; AWWA C104 standard
# cement-mortar lining thickness by size.
DI_OD = {3: 3.96, 4: 4.80, 6: 6.90, 8: 9.05, 10: 11.10, 12: 13.20, 14: 15.30, 16: 17.40,
         18: 19.50, 20: 21.60, 24: 25.80, 30: 32.00, 36: 38.30, 42: 44.50}
DI_350 = walls("""3:0.25 4:0.25 6:0.25 8:0.25 10:0.26 12:0.28 14:0.31 16:0.34 18:0.36 20:0.38
    24:0.40 30:0.49 36:0.56 42:0.63""")
DI_LINING = {n: (0.0625 if n <= 12 else (0.09375 if n <= 24 else 0.125)) for n in DI_OD}

# HDPE, IPS outside diameters (ASTM D3035 to NPS 3, ASTM F714 from NPS 4). Average inside
# diameter per the Plastics Pipe Institute: OD - 2 x 1.06 x minimum wall, minimum wall = OD/DR.
HDPE_SIZES = [0.5, 0.75, 1, 1.25, 1.5, 2, 3, 4, 5, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26,
              28, 30, 32, 34, 36, 42]

# Friction defaults per material: Hazen-Williams C, absolute roughness (ft), Manning n.
STEEL = (120, 0.00015, 0.012)
STAINLESS = (140, 0.00015, 0.012)
PVC = (150, 0.000005, 0.009)
COPPER = (140, 0.000005, 0.010)
DI_LINED = (140, 0.0004, 0.013)
DI_BARE = (130, 0.00085, 0.014)
HDPE = (150, 0.000005, 0.009)


def steel_weight(od, t):
    """ASME B36.10M plain-end weight, lb/ft."""
    return round(10.69 * (od - t) * t, 2)


def plain(od_map, wall_map, weight=False):
    rows = []
    for n in NOMINAL:
        if n in wall_map and n in od_map:
            od, t = od_map[n], wall_map[n]
            rows.append({"NomSize": n, "Thickness": t, "InDia": round(od - 2 * t, 3),
                         "Pipelbperft": steel_weight(od, t) if weight else None})
    return rows


def ductile(lined):
    rows = []
    for n in NOMINAL:
        if n in DI_350:
            t = DI_350[n]
            inner = DI_OD[n] - 2 * t - (2 * DI_LINING[n] if lined else 0)
            rows.append({"NomSize": n, "Thickness": t, "InDia": round(inner, 3)})
    return rows


def hdpe(dr):
    rows = []
    for n in HDPE_SIZES:
        od = STEEL_OD[n]
        t = od / dr
        rows.append({"NomSize": n, "Thickness": round(t, 3), "InDia": round(od - 2 * 1.06 * t, 3)})
    return rows


SCHEDULES = [
    # (description, OldIndex, friction, size rows)
    ("Carbon steel, schedule 10", "CS10", STEEL, plain(STEEL_OD, CS_SCH10, True)),
    ("Carbon steel, schedule 40", "CS40", STEEL, plain(STEEL_OD, CS_SCH40, True)),
    ("Carbon steel, schedule 80", "CS80", STEEL, plain(STEEL_OD, CS_SCH80, True)),
    ("Carbon steel, schedule 160", "C160", STEEL, plain(STEEL_OD, CS_SCH160, True)),
    ("Carbon steel, standard weight (STD)", "CSTD", STEEL, plain(STEEL_OD, CS_STD, True)),
    ("Carbon steel, extra strong (XS)", "CSXS", STEEL, plain(STEEL_OD, CS_XS, True)),
    ("Stainless steel, schedule 5S", "SS5S", STAINLESS, plain(STEEL_OD, SS_5S)),
    ("Stainless steel, schedule 10S", "S10S", STAINLESS, plain(STEEL_OD, SS_10S)),
    ("Stainless steel, schedule 40S", "S40S", STAINLESS, plain(STEEL_OD, SS_40S)),
    ("PVC, schedule 40", "PV40", PVC, plain(STEEL_OD, PVC_40)),
    ("PVC, schedule 80", "PV80", PVC, plain(STEEL_OD, PVC_80)),
    ("Copper tube, type K", "CU-K", COPPER, plain(CU_OD, CU_K)),
    ("Copper tube, type L", "CU-L", COPPER, plain(CU_OD, CU_L)),
    ("Copper tube, type M", "CU-M", COPPER, plain(CU_OD, CU_M)),
    ("Ductile iron, class 350, cement lined", "DICL", DI_LINED, ductile(True)),
    ("Ductile iron, class 350, unlined", "DI35", DI_BARE, ductile(False)),
    ("HDPE, DR 9 (IPS)", "PE09", HDPE, hdpe(9)),
    ("HDPE, DR 11 (IPS)", "PE11", HDPE, hdpe(11)),
    ("HDPE, DR 17 (IPS)", "PE17", HDPE, hdpe(17)),
]

NAMESPACE = uuid.UUID("6d1f6a52-3c8e-4a5e-9a3f-2f6e0c1b7a10")


def key_of(description):
    return "{" + str(uuid.uuid5(NAMESPACE, description)).upper() + "}"


def main(data_dir):
    sched_fields = [("Index", "string", 38), ("Description", "string", 50),
                    ("OldIndex", "string", 4), ("HWCoef", "r8", None), ("SpecRough", "r8", None),
                    ("MannCoef", "r8", None), ("HideSched", "boolean", None)]
    size_fields = [("Index", "string", 38), ("NomSize", "r8", None), ("Thickness", "r8", None),
                   ("InDia", "r8", None), ("Pipelbperft", "r8", None), ("Maxpsi", "i4", None),
                   ("H20HamFact", "r8", None)]
    sched_rows, size_rows = [], []
    for desc, old, (hw, rough, mann), sizes in SCHEDULES:
        key = key_of(desc)
        assert len(old) == 4
        sched_rows.append({"Index": key, "Description": desc, "OldIndex": old, "HWCoef": hw,
                           "SpecRough": rough, "MannCoef": mann, "HideSched": False})
        for s in sizes:
            assert s["NomSize"] in NOMINAL and 0 < s["InDia"] < s["NomSize"] + 2
            size_rows.append(dict(s, Index=key))
    sched_rows.sort(key=lambda r: r["Index"])
    size_rows.sort(key=lambda r: (r["Index"], r["NomSize"]))
    write_packet(os.path.join(data_dir, "PipeSched.XML"), sched_fields, sched_rows)
    write_packet(os.path.join(data_dir, "PipeSizes.XML"), size_fields, size_rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data"))
