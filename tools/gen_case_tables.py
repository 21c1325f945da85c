#!/usr/bin/env python3
"""Writes src/io_utils/case_tables.{h,cc} from the Unicode Character Database.

The tables hold what lower-casing needs: the full lowercase mapping (the
simple mappings of UnicodeData.txt, replaced by the unconditional mappings of
SpecialCasing.txt) and the Cased and Case_Ignorable properties for the
Final_Sigma condition. Language-tailored mappings are left out on purpose.
It also checks that white space takes no part in casing, which the line
normalisation relies on.

Usage: tools/gen_case_tables.py [UCD_DIR] [OUT_DIR]
  UCD_DIR defaults to /usr/share/unicode (Debian's unicode-data package),
  OUT_DIR to src/io_utils beside this script.
"""

import os
import re
import sys

CAPITAL_SIGMA = 0x03A3
SMALL_SIGMA = 0x03C3
FINAL_SIGMA = 0x03C2


def data_lines(path):
    """Yields the fields of each data line, comments and blanks removed."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def unicode_version(path):
    with open(path, encoding="utf-8") as f:
        first = f.readline()
    match = re.search(r"-(\d+\.\d+\.\d+)\.txt", first)
    if not match:
        sys.exit(f"{path}: no version in its first line")
    return match.group(1)


def simple_lowercase(ucd):
    mapping = {}
    for fields in data_lines(os.path.join(ucd, "UnicodeData.txt")):
        if fields[13]:
            mapping[int(fields[0], 16)] = [int(fields[13], 16)]
    return mapping


def full_lowercase(ucd):
    """The lowercase mapping without tailoring, checked for the one context
    rule the code implements by hand."""
    mapping = simple_lowercase(ucd)
    conditional = []
    for fields in data_lines(os.path.join(ucd, "SpecialCasing.txt")):
        code_point = int(fields[0], 16)
        lower = [int(x, 16) for x in fields[1].split()]
        condition = fields[4] if len(fields) > 4 else ""
        if condition:
            conditional.append((code_point, lower, condition.split()))
            continue
        if lower == [code_point]:
            mapping.pop(code_point, None)
        else:
            mapping[code_point] = lower
    for code_point, lower, conditions in conditional:
        language_tailored = re.fullmatch(r"[a-z]{2,3}", conditions[0])
        if language_tailored:
            continue
        if conditions != ["Final_Sigma"] or code_point != CAPITAL_SIGMA:
            sys.exit(f"unexpected context rule {conditions} for U+{code_point:04X}")
        if lower != [FINAL_SIGMA] or mapping.get(CAPITAL_SIGMA) != [SMALL_SIGMA]:
            sys.exit("the sigma mappings are not the ones the code assumes")
    return mapping


def property_points(ucd, file_name, name):
    points = set()
    for fields in data_lines(os.path.join(ucd, file_name)):
        if fields[1] != name:
            continue
        bounds = fields[0].split("..")
        first = int(bounds[0], 16)
        last = int(bounds[-1], 16)
        points.update(range(first, last + 1))
    if not points:
        sys.exit(f"no {name} characters found")
    return points


def check_whitespace(ucd, mapping, cased, ignorable):
    """The normalisation lower-cases before it collapses white space, which
    gives the same result only while white space takes no part in casing."""
    white = property_points(ucd, "PropList.txt", "White_Space")
    if len(white) != 25:
        sys.exit(f"expected 25 White_Space characters, found {len(white)}")
    if white & (cased | ignorable):
        sys.exit("a White_Space character is Cased or Case_Ignorable")
    if white & set(mapping):
        sys.exit("a White_Space character has a lowercase mapping")
    if any(white & set(lower) for lower in mapping.values()):
        sys.exit("a lowercase mapping yields a White_Space character")


def merge_ranges(points):
    ranges = []
    for p in points:
        if ranges and ranges[-1][1] + 1 == p:
            ranges[-1][1] = p
        else:
            ranges.append([p, p])
    return ranges


def delta_ranges(mapping):
    """Single-character mappings as (first, last, delta, stride) runs: the
    code points first, first + stride, ... last map to code point + delta.
    Stride 2 covers the alternating capital/small pairs of Latin and Cyrillic
    blocks; the code points a stride-2 run steps over have no mapping."""
    singles = sorted((cp, m[0] - cp) for cp, m in mapping.items() if len(m) == 1)
    runs = []
    for cp, delta in singles:
        if runs:
            run = runs[-1]
            step = cp - run[1]
            if run[2] == delta and step in (1, 2) and run[3] in (0, step):
                run[1] = cp
                run[3] = step
                continue
        runs.append([cp, cp, delta, 0])
    for run in runs:
        if run[3] == 0:
            run[3] = 1
    return runs


def emit_header(version, max_expansion):
    return f"""\
// Case data of the Unicode Character Database, version {version}: the
// lowercase mapping and the Cased and Case_Ignorable properties.
// Generated by tools/gen_case_tables.py; do not edit.
#ifndef VRELSDIFF_IO_UTILS_CASE_TABLES_H_
#define VRELSDIFF_IO_UTILS_CASE_TABLES_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace io_utils {{

inline constexpr std::string_view kCaseTablesUnicodeVersion = "{version}";
inline constexpr std::size_t kMaxLowercaseExpansion = {max_expansion};

// The code points first, first + stride, ... up to last map to code point
// plus delta; those a stride of 2 steps over have no mapping.
struct LowercaseRange {{
  char32_t first;
  char32_t last;
  std::int32_t delta;
  std::uint32_t stride;
}};

// A character whose lowercase form is several characters; unused slots of
// `mapping` hold 0.
struct LowercaseExpansion {{
  char32_t code_point;
  char32_t mapping[kMaxLowercaseExpansion];
}};

// An inclusive range of code points.
struct CodePointRange {{
  char32_t first;
  char32_t last;
}};

// Each list is sorted by code point and its entries do not overlap.
std::span<const LowercaseRange> lowercase_ranges();
std::span<const LowercaseExpansion> lowercase_expansions();
std::span<const CodePointRange> cased_ranges();
std::span<const CodePointRange> case_ignorable_ranges();

}}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_CASE_TABLES_H_
"""


def rows(items, per_line, fmt):
    cells = [fmt(item) for item in items]
    lines = []
    for i in range(0, len(cells), per_line):
        lines.append("    " + " ".join(cells[i : i + per_line]))
    return "\n".join(lines)


def emit_source(version, runs, expansions, max_expansion, cased, ignorable):
    def run_cell(r):
        return f"{{0x{r[0]:04X}, 0x{r[1]:04X}, {r[2]}, {r[3]}}},"

    def expansion_cell(e):
        padded = e[1] + [0] * (max_expansion - len(e[1]))
        return "{0x%04X, {%s}}," % (e[0], ", ".join(f"0x{c:04X}" for c in padded))

    def range_cell(r):
        return f"{{0x{r[0]:04X}, 0x{r[1]:04X}}},"

    return f"""\
// Case data of the Unicode Character Database, version {version}.
// Generated by tools/gen_case_tables.py; do not edit.
#include "io_utils/case_tables.h"

namespace io_utils {{
namespace {{

// The tables are laid out by the generator.
// clang-format off
constexpr LowercaseRange kLowercaseRanges[] = {{
{rows(runs, 3, run_cell)}
}};

constexpr LowercaseExpansion kLowercaseExpansions[] = {{
{rows(expansions, 1, expansion_cell)}
}};

constexpr CodePointRange kCasedRanges[] = {{
{rows(cased, 4, range_cell)}
}};

constexpr CodePointRange kCaseIgnorableRanges[] = {{
{rows(ignorable, 4, range_cell)}
}};
// clang-format on

}}  // namespace

std::span<const LowercaseRange> lowercase_ranges() {{
  return kLowercaseRanges;
}}
std::span<const LowercaseExpansion> lowercase_expansions() {{
  return kLowercaseExpansions;
}}
std::span<const CodePointRange> cased_ranges() {{
  return kCasedRanges;
}}
std::span<const CodePointRange> case_ignorable_ranges() {{
  return kCaseIgnorableRanges;
}}

}}  // namespace io_utils
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ucd = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "src", "io_utils")

    versions = {
        unicode_version(os.path.join(ucd, name))
        for name in ("SpecialCasing.txt", "DerivedCoreProperties.txt")
    }
    if len(versions) != 1:
        sys.exit(f"the data files disagree on the version: {sorted(versions)}")
    version = versions.pop()

    mapping = full_lowercase(ucd)
    runs = delta_ranges(mapping)
    expansions = sorted((cp, m) for cp, m in mapping.items() if len(m) > 1)
    max_expansion = max(len(m) for _, m in expansions)
    cased_points = property_points(ucd, "DerivedCoreProperties.txt", "Cased")
    ignorable_points = property_points(ucd, "DerivedCoreProperties.txt", "Case_Ignorable")
    check_whitespace(ucd, mapping, cased_points, ignorable_points)
    cased = merge_ranges(sorted(cased_points))
    ignorable = merge_ranges(sorted(ignorable_points))

    with open(os.path.join(out, "case_tables.h"), "w", encoding="utf-8") as f:
        f.write(emit_header(version, max_expansion))
    with open(os.path.join(out, "case_tables.cc"), "w", encoding="utf-8") as f:
        f.write(emit_source(version, runs, expansions, max_expansion, cased, ignorable))
    print(
        f"Unicode {version}: {len(runs)} lowercase runs, {len(expansions)} expansions, "
        f"{len(cased)} Cased and {len(ignorable)} Case_Ignorable ranges"
    )


if __name__ == "__main__":
    main()
