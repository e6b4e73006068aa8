"""Writes tables in the XML data-packet form that src/data/table.h reads.

A field whose name is not a valid XML name (the valve table's size columns ".5", "1." ...)
keeps its name in `fieldname` and is written under an XML-safe `attrname` ("_" + name).
"""
import re
from xml.sax.saxutils import quoteattr

_NAME = re.compile(r"^[A-Za-z_][A-Za-z0-9_.\-]*$")


def attr_name(field_name):
    return field_name if _NAME.match(field_name) else "_" + field_name


def fmt_value(ftype, v):
    if v is None:
        return None
    if ftype == "boolean":
        return "TRUE" if v else "FALSE"
    if ftype in ("i2", "i4"):
        return str(int(v))
    if ftype in ("r4", "r8"):
        x = float(v)
        if x == int(x) and abs(x) < 1e15:
            return str(int(x))
        return repr(x)
    return str(v)


def write_packet(path, fields, rows):
    """fields: list of (name, type, width or None); rows: list of dicts by field name."""
    out = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
           '<DATAPACKET Version="2.0"><METADATA><FIELDS>']
    for name, ftype, width in fields:
        a = attr_name(name)
        parts = []
        if a != name:
            parts.append("fieldname=" + quoteattr(name))
        parts.append("attrname=" + quoteattr(a))
        parts.append("fieldtype=" + quoteattr(ftype))
        if width:
            parts.append('WIDTH="%d"' % width)
        out.append("<FIELD " + " ".join(parts) + "/>")
    out.append("</FIELDS><PARAMS/></METADATA><ROWDATA>")
    for row in rows:
        unknown = set(row) - {f[0] for f in fields}
        assert not unknown, unknown
        parts = []
        for name, ftype, width in fields:
            s = fmt_value(ftype, row.get(name))
            if s is None:
                continue
            if ftype == "string" and width:
                assert len(s) <= width, (name, s)
            parts.append(attr_name(name) + "=" + quoteattr(s))
        out.append("<ROW " + " ".join(parts) + "/>")
    out.append("</ROWDATA></DATAPACKET>")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")
