#!/usr/bin/env python3
"""Lists the C++ functions longer than a limit, longest first.

  scripts/long-functions.py [--limit N] [PATH...]   (default 60 lines, src/)

A function is a brace block whose head (the text since the previous ';', '{'
or '}') holds a parameter list and is not a class, namespace, enum or
initializer; its length counts from the first line of the head to the closing
brace. Lambdas and local classes count toward the function around them.
"""
import argparse
import pathlib
import re

HEAD_SKIP = re.compile(r"^\s*(template\s*<[^{]*>\s*)?(class|struct|union|enum|namespace|extern)\b")


def strip(text):
    """The text with comments, strings and character literals blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(" " * (min(j + 1, n) - i))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def functions(path):
    text = strip(path.read_text(encoding="utf-8", errors="replace"))
    text = re.sub(r"^\s*#.*$", "", text, flags=re.M)  # preprocessor lines
    stack = []  # per open brace: (is_function_start, start_line, name)
    head_start, head = 0, []
    line = 1
    inside = 0  # open function bodies
    for ch in text:
        if ch == "\n":
            line += 1
        if ch == "{":
            h = "".join(head).strip()
            is_fn = inside == 0 and "(" in h and not HEAD_SKIP.match(h) and not re.search(r"=\s*$|^\s*=", h)
            name = ""
            if is_fn:
                m = re.search(r"([\w:~<>,\s*&]*?[\w:~]+(?:operator\S*)?)\s*\(", h)
                name = re.sub(r"\s+", " ", m.group(1)).strip().split(" ")[-1] if m else h[:40]
                inside += 1
            stack.append((is_fn, head_start, name))
            head, head_start = [], line
        elif ch == "}":
            if stack:
                is_fn, start, name = stack.pop()
                if is_fn:
                    inside -= 1
                    yield name, start, line
            head, head_start = [], line
        elif ch == ";":
            head, head_start = [], line
        else:
            if not head and not ch.isspace():
                head_start = line
            if head or not ch.isspace():
                head.append(ch)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--limit", type=int, default=60)
    ap.add_argument("paths", nargs="*", default=["src"])
    args = ap.parse_args()
    found = []
    for root in args.paths:
        p = pathlib.Path(root)
        files = [p] if p.is_file() else sorted(q for q in p.rglob("*") if q.suffix in (".cpp", ".h", ".cc"))
        for f in files:
            for name, start, end in functions(f):
                if end - start + 1 > args.limit:
                    found.append((end - start + 1, f"{f}:{start}", name))
    for length, where, name in sorted(found, key=lambda r: (-r[0], r[1])):
        print(f"{length:4d}  {where}  {name}")
    print(f"{len(found)} functions over {args.limit} lines")


if __name__ == "__main__":
    main()
