#!/usr/bin/env python3
"""Writes the first records of the common countries and tax offices tables
from the tax authority's code lists kept here, as text resources of the
program (resources/zelsal/901_countries.txt, 902_tax_offices.txt).

Run it again when the code lists are replaced:
    python3 tools/catalogues/catalogues.py
Countries: "SUE<TAB>KKR<TAB>KRA" (SUE 'T' for the members of TKodyKrajowUE of
the JPK_FA(4) schema); tax offices: "XML<TAB>NAZ" in the order of the list.
"""
import os
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "..", "resources", "zelsal")
XS = "{http://www.w3.org/2001/XMLSchema}"
NAME_WIDTH = 30   # KRA


def enumeration(path, type_name=None):
    root = ET.parse(os.path.join(HERE, path)).getroot()
    for simple in root.iter(XS + "simpleType"):
        if type_name and simple.get("name") != type_name:
            continue
        for e in simple.iter(XS + "enumeration"):
            doc = e.find(f"{XS}annotation/{XS}documentation")
            yield e.get("value"), " ".join((doc.text or "").split()) if doc is not None else ""
        if type_name:
            return


def main():
    union = {code for code, _ in enumeration("Schemat_JPK_FA(4)_v1-0.xsd", "TKodyKrajowUE")}
    # The Union's list gives Greece by its VAT prefix EL; the countries list names it GR.
    if "EL" in union:
        union.add("GR")
    rows, names = [], set()
    for code, name in enumeration("KodyKrajow_v5-0E.xsd"):
        name = name[:NAME_WIDTH].rstrip()
        if not name or name.upper() in names:   # KRA is unique
            continue
        names.add(name.upper())
        rows.append(f"{'T' if code in union else 'N'}\t{code}\t{name}")
    with open(os.path.join(OUT, "901_countries.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(rows) + "\n")
    offices = [f"{code}\t{name}" for code, name in enumeration("KodyUrzedowSkarbowych_v5-0E.xsd")]
    with open(os.path.join(OUT, "902_tax_offices.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(offices) + "\n")


if __name__ == "__main__":
    main()
