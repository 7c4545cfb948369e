# Turns a usage text of tlxexport into man page source (roff).
#   part=synopsis  the "  tlxexport WORD ..." lines of `tlxexport --help`
#   part=exit      the "Exit status:" paragraph of `tlxexport --help`
#   part=command   the whole of `tlxexport COMMAND --help` (command=COMMAND)
# In a command's text the "Usage:" line becomes its synopsis, a line
# "  --option [VALUE]  text" a tagged paragraph that deeper-indented lines
# continue, a blank line ends a paragraph and other lines are running text.

# The text with roff's special characters escaped, safe at a line's start.
function roff(text,    out, i, c) {
    out = ""
    for (i = 1; i <= length(text); i++) {
        c = substr(text, i, 1)
        if (c == "\\") out = out "\\e"
        else if (c == "-") out = out "\\-"
        else out = out c
    }
    if (out ~ /^[.']/) out = "\\&" out
    return out
}

function trim(text) {
    sub(/^ +/, "", text)
    sub(/ +$/, "", text)
    return text
}

# Splits `text` at the first match of the regular expression `gap`: the part
# before goes to `first`, the part after to `rest` ("" without a match).
function split_first(text, gap) {
    first = text
    rest = ""
    if (match(text, gap)) {
        first = substr(text, 1, RSTART - 1)
        rest = substr(text, RSTART + RLENGTH)
    }
}

# "tlxexport WORD REST": the program, WORD in bold, REST as it stands.
function synopsis(text) {
    gsub(/  +/, " ", text)
    sub(/^tlxexport /, "", text)
    split_first(text, " ")
    print ".SY tlxexport"
    print ".B " roff(first)
    if (rest != "") print roff(rest)
    print ".YS"
}

# Running text opens a paragraph unless it continues one.
function text_line(text) {
    if (state != "text") print ".PP"
    print roff(trim(text))
    state = "text"
}

BEGIN {
    state = "start"
    if (part == "command") print ".SS " roff(command)
}

part == "synopsis" && /^  tlxexport / {
    line = trim($0)
    # A short description may follow the synopsis after a wide gap; it starts
    # with a small letter, where a synopsis word is a name, a value or "[".
    if (match(line, /  +[a-z][^[|]* [^[|]*$/)) line = substr(line, 1, RSTART - 1)
    synopsis(line)
    next
}

part == "exit" && /^Exit status: / { in_exit = 1; sub(/^Exit status: /, "") }
part == "exit" && /^$/ { in_exit = 0 }
part == "exit" && in_exit { text_line($0); next }

part != "command" { next }

/^Usage: / {
    synopsis(substr($0, 8))
    state = "start"
    next
}
/^  -/ {
    split_first(trim($0), "  +")
    description = rest
    split_first(first, " ")
    print ".TP"
    print "\\fB" roff(first) "\\fR" (rest == "" ? "" : " \\fI" roff(rest) "\\fR")
    if (description != "") print roff(description)
    state = "option"
    next
}
/^   +[^ ]/ && state == "option" { print roff(trim($0)); next }
/^ *$/ { state = "break"; next }
{ text_line($0) }
