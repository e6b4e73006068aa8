"""Generates data/Liq_prop.XML.

Saturated water is computed from published formulations: saturation pressure from IAPWS-IF97
(region 4), density from Kell's equation (J. Chem. Eng. Data 20, 1975), dynamic viscosity
interpolated (log-linear) in the tabulated values of the CRC Handbook of Chemistry and Physics,
specific heat interpolated in the CRC table. The other liquids are tabulated below with their
sources named in data/README.md.

The table holds vapour pressure as a head: feet of the liquid = psia x 2.31 / SG, the same
constant the program uses to turn it back into psia.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from xmlpacket import write_packet

WATER_4C = 999.972  # kg/m3, reference for specific gravity
PSI_PER_MPA = 145.0377
FT_PER_PSI = 2.31


def f_to_c(f):
    return (f - 32.0) / 1.8


def psat_psia(t_c):
    """IAPWS-IF97 saturation pressure (region 4)."""
    n = [0.11670521452767e4, -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
         -0.32325550322333e7, 0.14915108613530e2, -0.48232657361591e4, 0.40511340542057e6,
         -0.23855557567849, 0.65017534844798e3]
    t = t_c + 273.15
    th = t + n[8] / (t - n[9])
    a = th * th + n[0] * th + n[1]
    b = n[2] * th * th + n[3] * th + n[4]
    c = n[5] * th * th + n[6] * th + n[7]
    p_mpa = (2 * c / (-b + math.sqrt(b * b - 4 * a * c))) ** 4
    return p_mpa * PSI_PER_MPA


def density_kell(t):
    """Kell (1975), kg/m3 at 1 atm, 0..150 C."""
    return ((999.83952 + 16.945176 * t - 7.9870401e-3 * t ** 2 - 46.170461e-6 * t ** 3
             + 105.56302e-9 * t ** 4 - 280.54253e-12 * t ** 5) / (1 + 16.879850e-3 * t))


# CRC Handbook: viscosity of liquid water, mPa s, every 5 C.
VISC_C = [(0, 1.793), (5, 1.519), (10, 1.307), (15, 1.138), (20, 1.002), (25, 0.890),
          (30, 0.798), (35, 0.719), (40, 0.653), (45, 0.596), (50, 0.547), (55, 0.504),
          (60, 0.467), (65, 0.433), (70, 0.404), (75, 0.378), (80, 0.355), (85, 0.334),
          (90, 0.315), (95, 0.298), (100, 0.282)]
# CRC Handbook: isobaric specific heat of liquid water, kJ/(kg K).
CP_C = [(0, 4.2199), (10, 4.1955), (20, 4.1844), (30, 4.1801), (40, 4.1796), (50, 4.1815),
        (60, 4.1851), (70, 4.1902), (80, 4.1969), (90, 4.2053), (100, 4.2157)]
KJ_PER_BTU_LB_F = 4.1868


def interp(table, x, log=False):
    for (x0, y0), (x1, y1) in zip(table, table[1:]):
        if x0 <= x <= x1:
            f = (x - x0) / (x1 - x0)
            if log:
                return math.exp(math.log(y0) + f * (math.log(y1) - math.log(y0)))
            return y0 + f * (y1 - y0)
    raise ValueError(x)


def head_ft(psia, sg):
    return round(psia * FT_PER_PSI / sg, 4)


def water_rows():
    rows = []
    temps = [32] + list(range(40, 211, 10)) + [212]
    for f in temps:
        c = f_to_c(f)
        rho = density_kell(c)
        sg = rho / WATER_4C
        mu = interp(VISC_C, c, log=True)
        nu = mu / (rho / 1000.0)
        vp = psat_psia(c)
        cp = interp(CP_C, c) / KJ_PER_BTU_LB_F
        rows.append({"Description": "Water,Saturated at %3d deg F" % f, "Temp": f,
                     "Spec_Grav": round(sg, 4), "Kin_Viscosity": round(nu, 3),
                     "Vap_Press": head_ft(vp, round(sg, 4)), "Specific_Heat": round(cp, 4)})
    return rows


# Ethylene glycol solutions by volume: density (lb/ft3) from the ASHRAE Handbook of
# Fundamentals table of ethylene glycol solution densities; dynamic viscosity (cP) from the
# tabulation of the same solutions in the Engineering ToolBox "Ethylene glycol heat-transfer
# fluid" page (drawn from the glycol makers' data). Specific heat at 60 F, Btu/lb F.
EG = {  # % by volume: {F: (density lb/ft3, viscosity cP)}, specific heat
    30: ({40: (65.66, 3.5), 80: (65.17, 1.7), 120: (64.52, 1.0), 160: (63.73, 0.7)}, 0.87),
    40: ({40: (66.59, 4.8), 80: (66.05, 2.2), 120: (65.37, 1.3), 160: (64.54, 0.8)}, 0.82),
    50: ({40: (67.47, 6.5), 80: (66.90, 2.8), 120: (66.17, 1.5), 160: (65.30, 0.95)}, 0.77),
}
# Mole fraction of water in the solution (for the vapour pressure by Raoult's law):
# glycol density 1.113 (EG) and 1.036 (PG) g/cm3, molar masses 62.07 and 76.09 g/mol.
def water_mole_fraction(vol_pct, rho_glycol, molar_mass):
    g = vol_pct / 100.0 * rho_glycol / molar_mass
    w = (1 - vol_pct / 100.0) * 0.99904 / 18.015
    return w / (w + g)


# Propylene glycol solutions by volume at 60 F: specific gravity from Lange's Handbook of
# Chemistry (table of aqueous antifreeze solutions); dynamic viscosity (cP) and specific heat
# from the DOWFROST engineering guide's tables of propylene glycol solutions.
PG = {30: (1.024, 3.5, 0.92), 40: (1.032, 5.3, 0.88), 50: (1.040, 8.0, 0.84)}

# Petroleum liquids: (description, F, SG at F, SG at 60 F, cSt, true vapour pressure psia).
# Typical values: SG and viscosity from the Crane TP-410 appendix charts of petroleum oils and
# the ASTM D975/D396 viscosity grades; vapour pressures at 60 F from US EPA AP-42 section 7.1
# (table of petroleum liquid properties: gasoline RVP 10 5.2, crude oil RVP 5 2.3, jet kerosene
# 0.0085, distillate fuel oil No. 2 0.0074, residual oil No. 6 0.00019 psia); the rows marked
# "est." are estimates where that table has no value. Specific heat from the Cragoe relation
# (US Bureau of Standards Misc. Pub. 97): c = (0.388 + 0.00045 F) / sqrt(SG at 60 F).
PETROLEUM = [
    ("Gasoline (RVP 10) at  60 deg F", 60, 0.74, 0.74, 0.60, 5.2),
    ("Kerosene at  60 deg F", 60, 0.81, 0.81, 2.2, 0.0085),
    ("Diesel fuel No. 2 at  60 deg F", 60, 0.85, 0.85, 4.0, 0.0074),
    ("Fuel oil No. 2 at  60 deg F", 60, 0.86, 0.86, 4.5, 0.0074),
    ("Fuel oil No. 4 at  60 deg F", 60, 0.90, 0.90, 40.0, 0.0074),   # est.: as No. 2
    ("Fuel oil No. 6 at 122 deg F", 122, 0.96, 0.98, 380.0, 0.002),  # est.
    ("Fuel oil No. 6 at 160 deg F", 160, 0.95, 0.98, 110.0, 0.006),  # est.
    ("Crude oil, light (40 API) at  60 deg F", 60, 0.825, 0.825, 5.0, 2.3),
    ("Crude oil, heavy (15 API) at  60 deg F", 60, 0.966, 0.966, 1000.0, 0.5),  # est.
    ("Crude oil, heavy (15 API) at 100 deg F", 100, 0.951, 0.966, 250.0, 0.8),  # est.
]


def cragoe(f, sg60):
    return round((0.388 + 0.00045 * f) / math.sqrt(sg60), 3)


# Sea water, salinity 35 g/kg, at 60 F: density UNESCO EOS-80 (1025.9 kg/m3 at 15.6 C),
# kinematic viscosity ITTC 7.5-02-01-03 (1.1892 cSt at 15 C, 1.1598 at 16 C: 1.173 at 15.6 C), vapour pressure 98.1 % of pure water's
# (Raoult, 35 g/kg), specific heat 0.953 Btu/lb F (Millero).
SEA = ("Sea water (3.5% salinity) at  60 deg F", 60, 1025.9 / WATER_4C, 1.173,
       0.981 * psat_psia(f_to_c(60)), 0.953)


def other_rows():
    rows = []
    for pct, (by_temp, cp) in EG.items():
        x = water_mole_fraction(pct, 1.113, 62.07)
        for f, (rho_lbft3, mu) in by_temp.items():
            sg = rho_lbft3 / 62.428
            rows.append({"Description": "Ethylene glycol %d%% vol at %3d deg F" % (pct, f),
                         "Temp": f, "Spec_Grav": round(sg, 4),
                         "Kin_Viscosity": round(mu / sg, 3),
                         "Vap_Press": head_ft(x * psat_psia(f_to_c(f)), round(sg, 4)),
                         "Specific_Heat": cp})
    for pct, (sg, mu, cp) in PG.items():
        x = water_mole_fraction(pct, 1.036, 76.09)
        rows.append({"Description": "Propylene glycol %d%% vol at  60 deg F" % pct, "Temp": 60,
                     "Spec_Grav": sg, "Kin_Viscosity": round(mu / sg, 3),
                     "Vap_Press": head_ft(x * psat_psia(f_to_c(60)), sg), "Specific_Heat": cp})
    desc, f, sg, nu, vp, cp = SEA
    rows.append({"Description": desc, "Temp": f, "Spec_Grav": round(sg, 4), "Kin_Viscosity": nu,
                 "Vap_Press": head_ft(vp, round(sg, 4)), "Specific_Heat": cp})
    for desc, f, sg, sg60, nu, vp in PETROLEUM:
        rows.append({"Description": desc, "Temp": f, "Spec_Grav": sg, "Kin_Viscosity": nu,
                     "Vap_Press": head_ft(vp, sg), "Specific_Heat": cragoe(f, sg60)})
    return rows


def main(data_dir):
    fields = [("Description", "string", 39), ("Temp", "r8", None), ("Spec_Grav", "r8", None),
              ("Kin_Viscosity", "r8", None), ("Vap_Press", "r8", None),
              ("Specific_Heat", "r8", None)]
    rows = water_rows() + other_rows()
    # Kept in the order of the primary index on Description (ordinal, case-sensitive).
    rows.sort(key=lambda r: r["Description"].encode("utf-8"))
    names = [r["Description"] for r in rows]
    assert len(set(names)) == len(names)
    assert "Water,Saturated at  60 deg F" in names
    write_packet(os.path.join(data_dir, "Liq_prop.XML"), fields, rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data"))
