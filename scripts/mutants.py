"""Mutation check of the test suite (not in CI): applies one small change at a time to the
code, rebuilds what the change touches, runs the tests that cover it, and reports which
changes no test caught. Each mutant is an exact text replaced once in one file; a mutant
whose text is no longer found is reported as stale, so the table is kept true.

    python3 scripts/mutants.py [BUILD_DIR] [NAME_FILTER]
"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (name, file, original text, mutated text, test executables that should catch it)
MUTANTS = [
    # holdings: float narrowing and rounding of the revaluation and the purchase total
    ("value without float narrowing", "holdings/revaluation.cpp",
     "const auto value = static_cast<float>(static_cast<double>(price) * count);",
     "const double value = static_cast<double>(price) * count;", ["holdings_tests"]),
    ("cost without float narrowing", "holdings/revaluation.cpp",
     "const auto cost = static_cast<float>(static_cast<double>(unit) * count);",
     "const double cost = static_cast<double>(unit) * count;", ["holdings_tests"]),
    ("amount rounded to 2 places", "holdings/revaluation.cpp",
     "static_cast<double>(value) - static_cast<double>(cost), 3)",
     "static_cast<double>(value) - static_cast<double>(cost), 2)", ["holdings_tests"]),
    ("rate in tenths of a percent", "holdings/revaluation.cpp",
     "static_cast<double>(cost) * 100.0;", "static_cast<double>(cost) * 1000.0;",
     ["holdings_tests"]),
    ("rate rounded to 2 places", "holdings/revaluation.cpp",
     "roundTo(rate, 3)", "roundTo(rate, 2)", ["holdings_tests"]),
    ("total purchase without narrowing", "holdings/purchase_form.cpp",
     "const float unit = static_cast<float>(leadingDouble(price));",
     "const double unit = leadingDouble(price);", ["holdings_tests"]),
    ("total purchase to 3 places", "holdings/purchase_form.cpp",
     "count * static_cast<double>(unit), 2)", "count * static_cast<double>(unit), 3)",
     ["holdings_tests"]),
    ("revaluation stores the price re-formatted", "app/holdings/holdings_handlers.cpp",
     "writeRevaluation(records, result.id, result.price,",
     "writeRevaluation(records, result.id, result.price.substr(0, result.price.find_last_not_of('0') + 1),",
     ["holdings_app_tests"]),
    # common: the rounding rule and number reading
    ("half-even instead of half away from zero", "common/numbers.cpp",
     "if (scaled - whole >= 0.5) whole += 1.0;",
     "if (scaled - whole > 0.5 || (scaled - whole == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;",
     ["common_tests", "holdings_tests", "quotes_tests"]),
    ("rounding without its nudge", "common/numbers.cpp", "* scale + 1e-12;", "* scale;",
     ["common_tests", "holdings_tests", "quotes_tests"]),
    ("whole part loses its sign", "common/numbers.cpp",
     "return negative ? -value : value;\n}\n\n}  // namespace", "return value;\n}\n\n}  // namespace",
     ["common_tests", "records_tests"]),
    ("full-width digits folded one off", "common/numbers.cpp",
     "out.push_back(static_cast<char>(trail - 0x80));",
     "out.push_back(static_cast<char>(trail - 0x7F));", ["common_tests"]),
    # common: the text rules
    ("matching steps into trail bytes", "common/text_rules.cpp",
     "return i + (isGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1);",
     "return i + 1;", ["common_tests", "quotes_tests"]),
    ("textBetween counts its start from 0", "common/text_rules.cpp",
     "static_cast<std::size_t>(start < 1 ? 0 : start - 1);",
     "static_cast<std::size_t>(start < 1 ? 0 : start);", ["common_tests", "quotes_tests"]),
    # quotes: colour thresholds and the 万/亿 digit counting
    ("falling threshold at zero", "quotes/watch_grid_format.cpp",
     "constexpr double changeFloor = -0.0000001;", "constexpr double changeFloor = 0.0;",
     ["quotes_tests", "watch_tests"]),
    ("falling when equal to the threshold", "quotes/watch_grid_format.cpp",
     "return change < changeFloor ?", "return change <= changeFloor ?",
     ["quotes_tests", "watch_tests"]),
    ("万 up to 9 digits", "quotes/watch_grid_format.cpp", "if (digits <= 8) return",
     "if (digits <= 9) return", ["quotes_tests", "watch_tests"]),
    ("万 below 8 digits", "quotes/watch_grid_format.cpp", "if (digits <= 8) return",
     "if (digits < 8) return", ["quotes_tests", "watch_tests"]),
    ("万 rounded to 2 places", "quotes/watch_grid_format.cpp",
     "doubleText(roundTo(number / 10000.0, 3)) + wan", "doubleText(roundTo(number / 10000.0, 2)) + wan",
     ["quotes_tests", "watch_tests"]),
    # records: the row colour rule by the sign of the whole number
    ("rows coloured for a zero whole part", "records/records_browser.cpp",
     "if (change == 0) return std::nullopt;", "if (change == 0 && changeText.empty()) return std::nullopt;",
     ["records_tests", "records_app_tests"]),
    ("falling rows by a negative text instead of the whole part", "records/records_browser.cpp",
     "change < 0 ? kFallingRowBackground", "changeText.starts_with(\"-\") ? kFallingRowBackground",
     ["records_tests", "records_app_tests"]),
    # records: the statement guards
    ("an id with letters passes the guard", "records/statements.cpp",
     "[](char c) { return c >= '0' && c <= '9'; });", "[](char c) { return c != '\\''; });",
     ["records_tests", "records_app_tests"]),
    ("an empty id passes the guard", "records/statements.cpp",
     "    return !text.empty() &&\n", "    return true &&\n", ["records_tests", "records_app_tests"]),
    ("a signed id loses its sign check", "records/statements.cpp",
     "if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);",
     "if (!text.empty()) text.remove_prefix(1);", ["records_tests", "records_app_tests"]),
    # records: the sort's tie rules
    ("sort tolerance widened", "records/column_sort.cpp",
     "if (std::fabs(d) <= kSortTolerance) return 0;", "if (std::fabs(d) <= 2 * kSortTolerance) return 0;",
     ["column_sort_tests", "records_sort_tests"]),
    ("sort appends only above the last value", "records/column_sort.cpp",
     "if (v >= valueAt(m) - kSortTolerance) return m + 1;", "if (v > valueAt(m)) return m + 1;",
     ["column_sort_tests", "records_sort_tests"]),
    ("sort puts near-first values second", "records/column_sort.cpp",
     "if (v <= valueAt(1) + kSortTolerance) return 1;", "if (v < valueAt(1)) return 1;",
     ["column_sort_tests", "records_sort_tests"]),
    # quotes: the watch-list rewrite
    ("a removal keeps the removed code", "quotes/watch_list_file.cpp",
     "        if (line != code) {", "        if (true) {", ["quotes_tests", "watch_tests"]),
    ("an append without the line end", "quotes/watch_list_file.cpp",
     "    content.append(code);\n    content.append(lineEnd);", "    content.append(code);",
     ["quotes_tests", "watch_tests"]),
    ("an append past the bound", "quotes/watch_list_file.cpp",
     "if (content.size() > maxWatchListBytes || !codesWithinBound(content)) return false;", "",
     ["quotes_tests"]),
    ("a rewrite straight into the file", "common/durable_file.cpp",
     "::rename(name.c_str(), path.c_str()) != 0", "(std::filesystem::copy_file(name, path, std::filesystem::copy_options::overwrite_existing), false)",
     ["quotes_tests"]),
    # the window: pacing of the refresh and the start-up pieces
    ("no pause between refreshed rows", "app/watch/watch_grid.cpp",
     "constexpr std::chrono::milliseconds kPauseAfterRow{100};",
     "constexpr std::chrono::milliseconds kPauseAfterRow{0};", ["watch_tests"]),
    ("full fill restarts the refresh at 1 s whatever the slider says", "app/watch/watch_grid.cpp",
     "if (!addChecking_) 时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);",
     "if (!addChecking_) 时钟_刷新周期->setInterval(1000);", ["watch_tests"]),
    ("a row that turns FAILED keeps its prices", "app/watch/watch_grid.cpp",
     "        clearQuoteCells(*高级表格_股票, row, kFirstQuoteColumn);\n", "", ["watch_tests"]),
    ("the records list's steps overlap", "app/records/records_handlers.cpp",
     "if (stepRunning_ || !storeKnown_ || steps_.empty()) return;",
     "if (!storeKnown_ || steps_.empty()) return;", ["records_sort_tests"]),
    ("sorted rows leave their colours behind", "app/records/records_handlers.cpp",
     "sorted.colours.moveRows(landingRows(sorted.order));", "", ["records_sort_tests"]),
    ("the colour index stays when rows move", "ui_core/colour_rule_index.cpp",
     "pairs[static_cast<std::size_t>(moved(static_cast<int>(r)))] = byRow.pairs[r];",
     "pairs[r] = byRow.pairs[r];", ["ui_core_tests"]),
]


def run(cmd, cwd=ROOT):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-mutants"))
    only = sys.argv[2] if len(sys.argv) > 2 else ""
    if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
        run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
             "-DQUOVELLA_BUILD_BENCH=OFF"])
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    caught, survived, stale, unbuilt = [], [], [], []
    for name, path, before, after, tests in MUTANTS:
        if only and only not in name:
            continue
        file = os.path.join(ROOT, path)
        text = open(file, encoding="utf-8").read()
        if text.count(before) != 1:
            stale.append(name)
            continue
        start = time.time()
        open(file, "w", encoding="utf-8").write(text.replace(before, after))
        try:
            built = run(["cmake", "--build", build, "-j2", "--target"] + tests) == 0
            failed = built and any(
                subprocess.run([os.path.join(build, "bin", t)], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=600).returncode != 0 for t in tests)
        finally:
            open(file, "w", encoding="utf-8").write(text)
        if not built:
            # A change that does not compile proves nothing about the tests.
            unbuilt.append(name)
            print(f"UNBUILT  {name}", flush=True)
            continue
        (caught if failed else survived).append(name)
        print(f"{'caught  ' if failed else 'SURVIVED'} {name} ({time.time() - start:.0f} s)", flush=True)
    total = len(caught) + len(survived)
    print(f"\n{len(caught)} of {total} mutants caught ({100 * len(caught) / max(total, 1):.0f} %)")
    for name in survived:
        print("  survived:", name)
    for name in stale:
        print("  stale (text not found once):", name)
    for name in unbuilt:
        print("  did not build:", name)
    run(["cmake", "--build", build, "-j2"])  # back to the code as it is
    sys.exit(0 if not stale and not unbuilt else 2)


if __name__ == "__main__":
    main()
