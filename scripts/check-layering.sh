#!/usr/bin/env bash
# Checks the layering on the sources, before anything is compiled:
#   - each library and program links only libraries its layer may link (the table below);
#     a test or benchmark folder links what its layer may, its layer itself and the demo
#     server;
#   - each #include of one of our folders names a layer the including file's target sees:
#     its own, those of the libraries it links and, in turn, their PUBLIC links, all read
#     from the CMake files;
#   - no layer without Qt includes a Qt header.
# Prints FILE:LINE and the fault for each one found; exits 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each layer may link besides itself. config is the generated quovella_config.h;
# support is the shared helpers of tests and benchmarks.
permitted='
common:
quotes: common config
records: common
holdings: common quotes records
ui_core: common records
ui: ui_core common
feed: common
app: ui ui_core holdings quotes records common config
support: ui ui_core records common
'

mapfile -t cmake_files < <(find . -name CMakeLists.txt -not -path './build*' | sort)

find common quotes records holdings ui_core ui app feed tests bench -type f \
    \( -name '*.h' -o -name '*.cpp' \) | sort |
    awk -v permitted="$permitted" '
BEGIN {
    n = split("quovella_common common quovella_quotes quotes quovella_records records " \
              "quovella_holdings holdings quovella_ui_core ui_core quovella_ui ui " \
              "quovella_app app quovella_feed_core feed quovella_config config", w, " ")
    for (i = 1; i < n; i += 2) {
        layerOfLibrary[w[i]] = w[i + 1]
        if (w[i + 1] != "config") libraryOfFolder[w[i + 1]] = w[i]
    }
    n = split("common quotes records holdings ui_core feed", w, " ")
    for (i = 1; i <= n; ++i) withoutQt[w[i]] = 1
    n = split(permitted, w, "\n")
    for (i = 1; i <= n; ++i) if (split(w[i], kv, ":") == 2) may[kv[1]] = " " kv[2] " "
    faults = 0
}

function fault(where, text) {
    print where ": " text > "/dev/stderr"
    ++faults
}

function dirOf(path) {
    sub(/^\.\//, "", path)
    if (path !~ /\//) return "."
    sub(/\/[^\/]*$/, "", path)
    return path
}

# tests/quotes and bench/quotes stand for quotes; tests/, bench/ and their support/ folders
# for support.
function layerOfFolder(dir) {
    sub(/^(tests|bench)\/?/, "", dir)
    return (dir == "" || dir == "." || dir == "support") ? "support" : dir
}

function layerOf(target) {
    return (target in layerOfLibrary) ? layerOfLibrary[target] : layerOfFolder(targetDir[target])
}

function has(list, item) { return index(" " list " ", " " item " ") > 0 }

# ---- CMake: the targets, the files they list and what they link -------------------------

function cmakeCommand(text, file, line,    tok, n, i, command, name, section, mode, listed) {
    gsub(/[()]/, " ", text)
    n = split(text, tok, /[ \t]+/)
    i = (tok[1] == "") ? 2 : 1
    command = tok[i]
    name = tok[i + 1]
    if (name ~ /^\$/) return  # inside a function definition
    if (command ~ /^(add_library|add_executable|quovella_add_gtest|quovella_add_bench)$/) {
        targets[++targetCount] = name
        targetDir[name] = dirOf(file)
        targetWhere[name] = dirOf(file) "/CMakeLists.txt:" line
        section = (command ~ /^quovella_add/) ? "" : "SOURCES"
        for (i += 2; i <= n; ++i) {
            if (tok[i] ~ /^(SOURCES|LIBS|GUI)$/) section = tok[i]
            else if (section == "SOURCES") {
                listed = targetDir[name] "/" tok[i]
                lists[listed] = lists[listed] " " name
            }
            else if (section == "LIBS") addLink(name, tok[i], "PRIVATE")
        }
    } else if (command == "target_link_libraries") {
        mode = "PRIVATE"
        for (i += 2; i <= n; ++i) {
            if (tok[i] ~ /^(PUBLIC|PRIVATE|INTERFACE)$/) mode = tok[i]
            else addLink(name, tok[i], mode)
        }
    }
}

function addLink(target, lib, mode) {
    if (!(lib in layerOfLibrary)) return
    links[target] = links[target] " " lib
    if (mode != "PRIVATE") publicLinks[target] = publicLinks[target] " " lib
}

FNR == 1 { collecting = ""; depth = 0 }
{
    text = $0
    sub(/#.*/, "", text)
    if (collecting == "") {
        if (text !~ /^[ \t]*[A-Za-z_]+[ \t]*\(/) next
        collectLine = FNR
    }
    collecting = collecting " " text
    depth += gsub(/\(/, "(", text) - gsub(/\)/, ")", text)
    if (depth <= 0) {
        cmakeCommand(collecting, FILENAME, collectLine)
        collecting = ""
        depth = 0
    }
}

# The layers a user of lib sees: its own and, in turn, those of its PUBLIC links.
function seenThrough(lib, depth,    n, l, i, out) {
    out = " " layerOfLibrary[lib]
    if (depth > 20) return out
    n = split(publicLinks[lib], l, " ")
    for (i = 1; i <= n; ++i) out = out seenThrough(l[i], depth + 1)
    return out
}

function seenBy(target,    n, l, i, out) {
    out = " " layerOf(target)
    n = split(links[target], l, " ")
    for (i = 1; i <= n; ++i) out = out seenThrough(l[i], 0)
    return out
}

function checkLinks(    t, name, layer, allowed, n, l, i) {
    for (t = 1; t <= targetCount; ++t) {
        name = targets[t]
        layer = layerOf(name)
        allowed = layer may[layer]
        if (targetDir[name] ~ /^(tests|bench)/) allowed = allowed " feed"
        n = split(links[name], l, " ")
        for (i = 1; i <= n; ++i) {
            if (!has(allowed, layerOfLibrary[l[i]]))
                fault(targetWhere[name], name " links " l[i] " (" layerOfLibrary[l[i]] "), but " \
                      layer " may link only" unique(may[layer]))
        }
    }
}

# ---- Sources: the targets each file is built for, the layers its includes name ------------

function exists(path,    line, r) {
    r = (getline line < path)
    close(path)
    return r >= 0
}

# The targets that list the file, else those that list its .cpp, else the library of its
# top folder, else every target of its folder (test helpers); none for shared test support.
function targetsOf(path,    source, dir, top, t, out) {
    if (path in lists) return lists[path]
    source = path
    sub(/\.h$/, ".cpp", source)
    if (source in lists) return lists[source]
    dir = dirOf(path)
    top = dir
    sub(/\/.*/, "", top)
    if (top in libraryOfFolder) return " " libraryOfFolder[top]
    out = ""
    for (t = 1; t <= targetCount; ++t) if (targetDir[targets[t]] == dir) out = out " " targets[t]
    return out
}

function checkFile(path,    owners, n, ts, i, layer, seen, root, line, lineNo, header, q) {
    owners = targetsOf(path)
    n = split(owners, ts, " ")
    layer = "support"
    seen = "support" may["support"]
    if (n > 0) {
        layer = layerOf(ts[1])
        seen = ""
        for (i = 1; i <= n; ++i) seen = seen seenBy(ts[i])
    }
    root = ""
    if (path ~ /^(tests|bench)\//) {
        root = path
        sub(/\/.*/, "", root)
        seen = seen " support"
    }
    lineNo = 0
    while ((getline line < path) > 0) {
        ++lineNo
        if (line !~ /^[ \t]*#[ \t]*include[ \t]*[<"]/) continue
        if (line ~ /include[ \t]*<Q/) {
            if (layer in withoutQt) fault(path ":" lineNo, "a Qt header in " layer ", which has no Qt")
            continue
        }
        if (line !~ /include[ \t]*"/) continue
        header = line
        sub(/^[^"]*"/, "", header)
        sub(/".*$/, "", header)
        if (header == "quovella_config.h") {
            q = "config"
        } else {
            if (header !~ /\//) continue  # beside the file, or generated for its own target
            q = header
            sub(/\/.*/, "", q)
            if (root != "" && exists(root "/" header)) {
                # A helper of another test folder stands for that folder layer.
            } else if (!(q in libraryOfFolder)) {
                continue
            }
        }
        if (!has(seen, q))
            fault(path ":" lineNo, "includes \"" header "\" (" q "), but" owners " sees only" \
                  unique(seen))
    }
    close(path)
    ++files
}

function unique(list,    n, l, i, met, out) {
    n = split(list, l, " ")
    out = ""
    for (i = 1; i <= n; ++i) if (!(l[i] in met)) { met[l[i]] = 1; out = out " " l[i] }
    return out
}

END {
    checkLinks()
    while ((getline path < "/dev/stdin") > 0) checkFile(path)
    if (faults > 0) {
        print faults " layering fault(s)" > "/dev/stderr"
        exit 1
    }
    print "layering: " targetCount " targets, " files " files, no faults"
}
' "${cmake_files[@]}"
