"""The small faults that ./dev mutate makes in C++ sources, found by a light scanner.

The scanner knows comments, string and character literals and preprocessor lines, and relies on
the project's clang-format layout: binary operators stand between spaces, template brackets do
not. That is enough to make faults a compiler accepts; it is not a parser.
"""

import dataclasses
import re


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: str  # relative to the repository
    line: int  # 1-based
    column: int  # 0-based, in the line
    original: str
    replacement: str
    kind: str

    def describe(self):
        return f"{self.path}:{self.line}: {self.kind}: `{self.original}` -> `{self.replacement}`"


RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "+=": "-=", "-=": "+=",
              "*=": "/=", "/=": "*="}
NOT_CALLS = {"return", "delete", "throw", "case", "if", "while", "for", "switch", "new", "sizeof",
             "static_assert", "co_return", "emit", "else", "do", "goto", "using", "typedef"}

NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+\.\d*|\d*\.\d+|\d+)([uUlLfF]*)(?![\w.'])")
SPACED_OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|\+=|-=|\*=|/=|<|>|\+|-|\*|/|%)(?= )")
INCREMENT = re.compile(r"\+\+|--")
BOOLEAN = re.compile(r"\b(true|false)\b")
NEGATION = re.compile(r"!(?!=)")
CALL_STATEMENT = re.compile(r"^(\s*)((?:[A-Za-z_][\w]*(?:::|\.|->))*~?[A-Za-z_]\w*\s*\(.*\)\s*;)\s*$")


def mask_code(text):
    """The text with comments and literals blanked (same length) and the literals' spans."""
    out = list(text)
    strings = []  # (start, end) of each plain "..." literal, quotes included
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out[i:j] = " " * (j - i)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out[i:j] = [ch if ch == "\n" else " " for ch in text[i:j]]
            i = j
        elif c == 'R' and text.startswith('R"', i) and not (i > 0 and (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + (m.group(1) if m else "") + '"', i)
            j = n if end < 0 else end + len(m.group(1) if m else "") + 2
            out[i:j] = [ch if ch == "\n" else " " for ch in text[i:j]]
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            prefixed = i > 0 and (text[i - 1].isalnum() or text[i - 1] == "_")
            if c == '"' and not prefixed:
                strings.append((i, j))
            out[i:j] = " " * (j - i)
            i = j
        else:
            i += 1
    return "".join(out), strings


def bump(number, suffix):
    if number.lower().startswith("0x"):
        value = int(number, 16) + 1
        return f"0x{value:X}{suffix}"
    if "." in number:
        whole, _, fraction = number.partition(".")
        return f"{int(whole or '0') + 1}.{fraction}{suffix}"
    return f"{int(number) + 1}{suffix}"


def changed_string(literal):
    body = literal[1:-1]
    if body == "":
        return '"x"'
    i = 0
    while i < len(body):
        if body[i] == "\\":
            i += 2
            continue
        ch = body[i]
        if ch.isascii() and ch.isalnum():
            if ch in "zZ9":
                new = {"z": "y", "Z": "Y", "9": "8"}[ch]
            else:
                new = chr(ord(ch) + 1)
            return '"' + body[:i] + new + body[i + 1:] + '"'
        i += 1
    return None


def find_mutants(path, text):
    masked, strings = mask_code(text)
    code_lines = masked.split("\n")
    source_lines = text.split("\n")
    starts = [0]
    for line in source_lines[:-1]:
        starts.append(starts[-1] + len(line) + 1)
    found = []

    def add(line_index, column, original, replacement, kind):
        found.append(Mutant(path, line_index + 1, column, original, replacement, kind))

    previous_end = ";"
    for index, code in enumerate(code_lines):
        stripped = code.strip()
        if stripped.startswith("#") or "static_assert" in code:
            continue
        for m in SPACED_OPERATOR.finditer(code):
            op = m.group(1)
            table = RELATIONAL if op in RELATIONAL else ARITHMETIC
            add(index, m.start(1), op, table[op], "relational" if table is RELATIONAL else "arithmetic")
        for m in INCREMENT.finditer(code):
            add(index, m.start(), m.group(), "--" if m.group() == "++" else "++", "arithmetic")
        for m in NUMBER.finditer(code):
            add(index, m.start(), m.group(), bump(m.group(1), m.group(2)), "constant")
        for m in BOOLEAN.finditer(code):
            add(index, m.start(), m.group(), "false" if m.group() == "true" else "true", "boolean")
        for m in NEGATION.finditer(code):
            add(index, m.start(), "!", "", "boolean")
        call = CALL_STATEMENT.match(code)
        if call and previous_end in ";{}:" and code.count("(") == code.count(")"):
            first = re.match(r"\s*~?([A-Za-z_]\w*)", call.group(2)).group(1)
            if first not in NOT_CALLS and not first.isupper():
                statement = source_lines[index][call.start(2):call.end(2)]
                add(index, call.start(2), statement, ";", "call removed")
        if stripped:
            previous_end = stripped[-1]

    for start, end in strings:
        index = max(i for i, s in enumerate(starts) if s <= start)
        line = source_lines[index]
        before = line[: start - starts[index]]
        if before.lstrip().startswith("#") or 'extern "C"' in line or "static_assert" in line:
            continue
        literal = text[start:end]
        replacement = changed_string(literal)
        if replacement is not None:
            add(index, start - starts[index], literal, replacement, "string")
    return found


def apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant.line - 1]
    assert line[mutant.column:].startswith(mutant.original), mutant
    lines[mutant.line - 1] = line[: mutant.column] + mutant.replacement + line[mutant.column + len(mutant.original):]
    return "\n".join(lines)
