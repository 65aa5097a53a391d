#!/usr/bin/env python3
"""Checks the demo course in resources/demo/ (or the folder given as the first argument).

Validates the JSON files as the service loads them and as the client will use them: keys are
known columns, ids are unique, references hold, the chapter and outline trees are well formed,
every question sits in a leaf chapter, all seven subject types are present, every right answer is
written in the form the answer check compares for its type, choice options split into exactly
the stated number of options, the course's paper layout can be filled from the bank, and every
picture file belongs to a question that carries its token. Exits 1 and lists the faults when
anything is wrong. Standard library only.
"""
import base64
import datetime
import json
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FOLDER = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources", "demo")
MIN_SUBJECTS = 80
TYPE_NAMES = {0: "单选题", 1: "多选题", 2: "判断题", 3: "问答题", 4: "案例题", 5: "填空题", 6: "不定项"}
CHOICE_TYPES = (0, 1, 6)
# The option separators the question page recognises after an option letter.
SEPARATORS = ".、 :：。．"
# Characters a typed answer cannot carry intact through the page's answer link
# (ios://doAnswer/<answer>: cut at "/", a query or fragment, a percent escape) or into the page.
LINK_UNSAFE = set("/?#%\\<>&\r\n\t")
PICTURE_TOKEN = re.compile(r"\{图(\d*)\}")
PICTURE_FILE = re.compile(r"^(\d+)_(\d+)(?:_(\d+))?\.([A-Za-z0-9]+)$")

COLUMNS = {
    "courseclass": {"iclassid", "ccoursecname", "csubjecttypes", "iindex", "bstopflag"},
    "coursesubclass": {"isubclassid", "csubclassname", "iclassid", "iindex", "bstopflag"},
    "course": {"icourseid", "iclassid", "isubclassid", "ccoursename", "iindex", "bstopflag", "bdistrict",
               "dcreatedate", "cexamdate", "ctypscount", "cversioncode"},
    "district": {"cdccode", "cdcname", "bendgrade", "igrade", "cmemo"},
    "sys_message": {"cmsgid", "cmsgtitle", "cmsgurl", "itype", "iindex", "icourseid", "bstopflag",
                    "dstartdate", "denddate"},
    "sys_photoad": {"ipaid", "cpatitle", "pimage", "curl", "cextname", "bstopflag", "dstartdate", "denddate"},
    "sys_tableimage": {"ctblname", "csourceid", "pimage", "cextname"},
    "coursechapter": {"ichapterid", "icourseid", "cchaptercode", "itype", "cchaptername", "bendgrade", "igrade",
                      "icount", "iexamtime", "cdcname", "cmemo", "bstopflag"},
    "courseoutline": {"ioutlineid", "icourseid", "coutlinecode", "itype", "coutlinename", "bendgrade", "igrade",
                      "cdcname", "curl", "ctext", "bstopflag"},
    "coursesubject": {"isubjectid", "icourseid", "ichapterid", "ichaptertype", "isubjecttype", "iindex", "iscore",
                      "ctitle", "cquestion", "canswer", "ianswercount", "cdescription", "csubjecttype",
                      "bpicquestion", "bpicanswer", "bstopflag"},
}
KEYS = {
    "courseclass": ("iclassid",), "coursesubclass": ("isubclassid",), "course": ("icourseid",),
    "district": ("cdccode",), "sys_message": ("cmsgid",), "sys_photoad": ("ipaid",),
    "sys_tableimage": ("ctblname", "csourceid"), "coursechapter": ("ichapterid",),
    "courseoutline": ("ioutlineid",), "coursesubject": ("isubjectid",),
}
REQUIRED = {"courseclass", "coursesubclass", "course", "district", "sys_message", "sys_photoad",
            "coursechapter", "courseoutline", "coursesubject"}

faults = []


def fault(where, text):
    faults.append(f"{where}: {text}")


def build_answer_array_list(text, n):
    """The question page's option split: a list of n options, [] or None (cannot be split)."""
    letters = [chr(ord("A") + i) for i in range(n)]
    text = text.strip(" \t\r\n")
    length = len(text)
    if length <= n:
        return []
    sep = text[1] if text.startswith("A") and text[1] in SEPARATORS else None
    start = 0
    pos = 0
    out = []
    for k in range(1, n):
        letter = letters[k]
        i = text.find(letter, pos)
        if i <= 0 or i == length - 1:
            continue
        while True:
            nxt = text[i + 1] if i + 1 < length else ""
            if sep is None:
                pos = i + 1
                accepted = nxt != "" and nxt in SEPARATORS
                if accepted:
                    sep = nxt
            else:
                accepted = nxt == sep
                if accepted:
                    pos = i + 1
            if accepted:
                break
            if i == length - 1:
                return None
            i = text.find(letter, i + 1)
            if i == -1:
                return None
        out.append(text[start:i])
        if k == n - 1:
            out.append(text[i:])
        start = i
    return out if len(out) == n else []


def self_test():
    assert build_answer_array_list("A.x B.y C.z D.w", 4) == ["A.x ", "B.y ", "C.z ", "D.w"]
    assert build_answer_array_list("A.x B.y C.z D.w", 5) == []
    assert build_answer_array_list("A、x B.y", 2) is None


def load(table):
    path = os.path.join(FOLDER, table + ".json")
    if not os.path.exists(path):
        if table in REQUIRED:
            fault(table + ".json", "missing")
        return []
    try:
        with open(path, encoding="utf-8") as f:
            rows = json.load(f)
    except (OSError, ValueError) as e:
        fault(table + ".json", f"not readable JSON: {e}")
        return []
    if not isinstance(rows, list) or not all(isinstance(r, dict) for r in rows):
        fault(table + ".json", "not an array of objects")
        return []
    seen = set()
    for n, row in enumerate(rows):
        where = f"{table}.json[{n}]"
        for key in row:
            if key not in COLUMNS[table]:
                fault(where, f"unknown key {key!r}")
        key = tuple(row.get(k) for k in KEYS[table])
        if any(k is None or k == "" for k in key):
            fault(where, "no key " + ",".join(KEYS[table]))
        elif key in seen:
            fault(where, f"duplicate key {key}")
        seen.add(key)
    return rows


def is_int(v):
    return isinstance(v, int) and not isinstance(v, bool)


def check_date(where, value, date_only=False):
    fmt = "%Y-%m-%d" if date_only else "%Y-%m-%d %H:%M:%S"
    try:
        return datetime.datetime.strptime(value, fmt)
    except (TypeError, ValueError):
        fault(where, f"not a date {fmt}: {value!r}")
        return None


def check_png(where, data):
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        fault(where, "picture is not a PNG file")


def check_catalogue(classes, subclasses, courses, districts, messages, photoads, tableimages, subjects):
    class_ids = {r.get("iclassid") for r in classes}
    subclass_of = {r.get("isubclassid"): r.get("iclassid") for r in subclasses}
    for r in subclasses:
        if r.get("iclassid") not in class_ids:
            fault(f"coursesubclass {r.get('isubclassid')}", "class does not exist")
    for r in courses:
        where = f"course {r.get('icourseid')}"
        if subclass_of.get(r.get("isubclassid")) != r.get("iclassid"):
            fault(where, "sub-class missing or of another class")
        exam = check_date(where + " cexamdate", r.get("cexamdate"), date_only=True)
        if exam and exam.date() <= datetime.date.today():
            print(f"warning: {where}: cexamdate {r.get('cexamdate')} is not in the future any more")
        check_paper_layout(where, r.get("ctypscount", ""), [s for s in subjects
                                                            if s.get("icourseid") == r.get("icourseid")])
    if not districts:
        fault("district.json", "no district")
    for r in districts:
        if not r.get("cdcname"):
            fault(f"district {r.get('cdccode')}", "no name")
    course_ids = {r.get("icourseid") for r in courses}
    for r in messages:
        if r.get("icourseid") not in course_ids | {0}:
            fault(f"sys_message {r.get('cmsgid')}", "course does not exist")
    for name, rows in (("sys_photoad", photoads), ("sys_tableimage", tableimages)):
        for r in rows:
            where = f"{name} {r.get(KEYS[name][0])}"
            try:
                data = base64.b64decode(r.get("pimage", ""), validate=True)
            except (ValueError, TypeError):
                fault(where, "pimage is not Base64")
                continue
            if r.get("cextname") == "png":
                check_png(where, data)
    if not photoads:
        fault("sys_photoad.json", "no photo advertisement")


def check_paper_layout(where, text, subjects):
    """ctypscount: "total score,total time|score per type 0..6|count per type 0..6"."""
    if not text:
        return
    fields = text.split("|")
    if len(fields) != 3:
        fault(where, f"ctypscount {text!r} has not three fields")
        return
    head = fields[0].split(",")
    scores = fields[1].split(",")
    counts = fields[2].split(",")
    if len(head) != 2 or len(scores) < 6 or len(scores) != len(counts):
        fault(where, f"ctypscount {text!r} malformed")
        return
    try:
        total = int(head[0])
        int(head[1])
        scores = [float(s) for s in scores]
        counts = [int(c or 0) for c in counts]
    except ValueError:
        fault(where, f"ctypscount {text!r} holds a non-number")
        return
    asked = sum(int(s) * c for s, c in zip(scores, counts))
    if asked != total:
        fault(where, f"ctypscount asks for {asked} points, total is {total}")
    for t, c in enumerate(counts):
        have = sum(1 for s in subjects if s.get("isubjecttype") == t and not s.get("bstopflag"))
        if c > have:
            fault(where, f"ctypscount asks for {c} subjects of type {t}, the bank has {have}")


def check_tree(table, rows, id_key, code_key, courses):
    """Prefix codes of two digits per level; grade = depth; leaves are the nodes without children."""
    by_code = {}
    course_ids = {c.get("icourseid") for c in courses}
    for r in rows:
        where = f"{table} {r.get(id_key)}"
        code = r.get(code_key, "")
        if r.get("icourseid") not in course_ids:
            fault(where, "course does not exist")
        if not re.fullmatch(r"(\d\d)+", code or ""):
            fault(where, f"code {code!r} is not pairs of digits")
            continue
        k = (r.get("icourseid"), r.get("itype"), code)
        if k in by_code:
            fault(where, f"code {code} used twice in tree {r.get('itype')}")
        by_code[k] = r
    for (course, itype, code), r in by_code.items():
        where = f"{table} {r.get(id_key)}"
        depth = len(code) // 2 - 1
        if r.get("igrade") != depth:
            fault(where, f"igrade {r.get('igrade')} but code {code} is at depth {depth}")
        if depth > 0 and (course, itype, code[:-2]) not in by_code:
            fault(where, f"parent of code {code} missing")
        has_children = any(c2 != code and c2.startswith(code) and (co2, t2) == (course, itype)
                           for (co2, t2, c2) in by_code)
        if bool(r.get("bendgrade")) == has_children:
            fault(where, "bendgrade does not match whether the node has children")
    return by_code


def check_subjects(subjects, chapters, courses):
    chapter = {c.get("ichapterid"): c for c in chapters}
    course_ids = {c.get("icourseid") for c in courses}
    per_chapter = {}
    indexes = set()
    for s in subjects:
        sid = s.get("isubjectid")
        where = f"coursesubject {sid}"
        t = s.get("isubjecttype")
        c = chapter.get(s.get("ichapterid"))
        if s.get("icourseid") not in course_ids:
            fault(where, "course does not exist")
        if c is None:
            fault(where, f"chapter {s.get('ichapterid')} does not exist")
        else:
            if not c.get("bendgrade"):
                fault(where, f"chapter {c.get('ichapterid')} is not a leaf")
            if c.get("icourseid") != s.get("icourseid"):
                fault(where, "chapter belongs to another course")
            if s.get("ichaptertype") != c.get("itype"):
                fault(where, "ichaptertype differs from the chapter's itype")
            per_chapter[c.get("ichapterid")] = per_chapter.get(c.get("ichapterid"), 0) + 1
        if t not in TYPE_NAMES:
            fault(where, f"unknown subject type {t!r}")
            continue
        k = (s.get("ichapterid"), t, s.get("iindex"))
        if not is_int(s.get("iindex")) or s.get("iindex") < 1 or k in indexes:
            fault(where, "iindex missing or repeated within chapter and type")
        indexes.add(k)
        if not (is_int(s.get("iscore")) or isinstance(s.get("iscore"), float)) or s.get("iscore") <= 0:
            fault(where, "no positive iscore")
        for key in ("ctitle", "cdescription"):
            if not str(s.get(key, "")).strip():
                fault(where, f"{key} empty")
        for key in ("ctitle", "cquestion", "cdescription"):
            if "<" in str(s.get(key, "")):
                fault(where, f"{key} holds '<' (texts are plain; pictures go in as tokens)")
        check_answer(where, s, t)
    for cid, c in chapter.items():
        if c.get("bendgrade") and c.get("icount") != per_chapter.get(cid, 0):
            fault(f"coursechapter {cid}", f"icount {c.get('icount')} but {per_chapter.get(cid, 0)} subjects")
    missing = set(TYPE_NAMES) - {s.get("isubjecttype") for s in subjects}
    if missing:
        fault("coursesubject.json", f"no subject of type {sorted(missing)}")
    if len(subjects) < MIN_SUBJECTS:
        fault("coursesubject.json", f"{len(subjects)} subjects, at least {MIN_SUBJECTS} wanted")
    return per_chapter


def check_answer(where, s, t):
    answer = s.get("canswer")
    question = s.get("cquestion", "")
    count = s.get("ianswercount", 0)
    if not isinstance(answer, str) or not answer:
        fault(where, "canswer empty")
        return
    if answer != answer.strip():
        fault(where, "canswer has surrounding white space")
    if t in CHOICE_TYPES:
        if not is_int(count) or not 2 <= count <= 7:
            fault(where, f"ianswercount {count!r} not 2 to 7")
            return
        options = build_answer_array_list(question, count)
        if not options:
            fault(where, f"cquestion does not split into {count} options")
        else:
            for i, o in enumerate(options):
                if not o.startswith(chr(ord("A") + i) + ".") or not o[2:].strip():
                    fault(where, f"option {i + 1} is {o!r}")
        letters = "".join(chr(ord("A") + i) for i in range(count))
        for letter in letters:
            if question.count(letter + ".") != 1:
                fault(where, f"{letter}. occurs {question.count(letter + '.')} times in cquestion, not once")
        if t == 0 and not (len(answer) == 1 and answer in letters):
            fault(where, f"single-choice answer {answer!r} is not one letter of {letters}")
        if t in (1, 6):
            if any(ch not in letters for ch in answer) or list(answer) != sorted(set(answer)):
                fault(where, f"answer {answer!r} is not distinct letters of {letters} in option order")
            if t == 1 and len(answer) < 2:
                fault(where, "multiple-choice answer has fewer than two letters")
    elif t == 2:
        if answer not in ("对", "错"):
            fault(where, f"true-or-false answer {answer!r} is not 对 or 错")
        if question:
            fault(where, "true-or-false subject with option text")
    else:
        bad = sorted(set(answer) & LINK_UNSAFE)
        if bad:
            fault(where, f"answer holds characters a typed answer cannot carry: {bad}")
        if t == 4:
            pieces = answer.split(",")
            if any(p == "" or p != p.strip() for p in pieces):
                fault(where, "case answer has an empty or padded key phrase")
            if not all(p in answer for p in pieces):
                fault(where, "case answer does not meet itself")


def check_pictures(subjects):
    by_id = {s.get("isubjectid"): s for s in subjects}
    folder = os.path.join(FOLDER, "pictures")
    files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    placed = {}  # subject id -> set of (part, token)
    for name in files:
        m = PICTURE_FILE.match(name)
        if not m:
            fault("pictures/" + name, "name is not <isubjectid>_<a>[_<b>].<ext>")
            continue
        sid, a, b, ext = int(m.group(1)), int(m.group(2)), int(m.group(3) or 0), m.group(4)
        s = by_id.get(sid)
        if s is None:
            fault("pictures/" + name, f"question {sid} does not exist")
            continue
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        if ext.lower() == "png":
            check_png("pictures/" + name, data)
        token = "{图" + (str(b) if b else "") + "}"
        if a == 0:
            if token not in s.get("ctitle", "") and token not in s.get("cquestion", ""):
                fault("pictures/" + name, f"question {sid} has no {token} in its title or question")
            if not s.get("bpicquestion"):
                fault("pictures/" + name, f"question {sid} has bpicquestion 0")
        else:
            if token not in s.get("cdescription", ""):
                fault("pictures/" + name, f"question {sid} has no {token} in its analysis")
            if not s.get("bpicanswer"):
                fault("pictures/" + name, f"question {sid} has bpicanswer 0")
        placed.setdefault(sid, set()).add(("analysis" if a else "question", token))
    for s in subjects:
        sid = s.get("isubjectid")
        for part, keys in (("question", ("ctitle", "cquestion")), ("analysis", ("cdescription",))):
            for key in keys:
                for b in PICTURE_TOKEN.findall(s.get(key, "")):
                    token = "{图" + b + "}"
                    if b == "0":
                        fault(f"coursesubject {sid}", "token {图0} never gets a picture; use {图}")
                    elif (part, token) not in placed.get(sid, set()):
                        fault(f"coursesubject {sid}", f"{token} in {key} has no picture file")
        if s.get("bpicquestion") and not any(p == "question" for p, _ in placed.get(sid, ())):
            fault(f"coursesubject {sid}", "bpicquestion 1 without a question picture")
        if s.get("bpicanswer") and not any(p == "analysis" for p, _ in placed.get(sid, ())):
            fault(f"coursesubject {sid}", "bpicanswer 1 without an analysis picture")
    return files


def main():
    self_test()
    t = {name: load(name) for name in COLUMNS}
    subjects, chapters, outline = t["coursesubject"], t["coursechapter"], t["courseoutline"]
    check_catalogue(t["courseclass"], t["coursesubclass"], t["course"], t["district"], t["sys_message"],
                    t["sys_photoad"], t["sys_tableimage"], subjects)
    check_tree("coursechapter", chapters, "ichapterid", "cchaptercode", t["course"])
    check_tree("courseoutline", outline, "ioutlineid", "coutlinecode", t["course"])
    for r in outline:
        if r.get("bendgrade") and not r.get("ctext"):
            fault(f"courseoutline {r.get('ioutlineid')}", "leaf without text")
    depth = {}
    for c in chapters:
        depth[c.get("itype")] = max(depth.get(c.get("itype"), 0), len(c.get("cchaptercode", "")) // 2)
    if sorted(depth) != [0, 1]:
        fault("coursechapter.json", f"chapter trees {sorted(depth)}, trees 0 and 1 wanted")
    per_chapter = check_subjects(subjects, chapters, t["course"])
    files = check_pictures(subjects)

    by_type = {ty: sum(1 for s in subjects if s.get("isubjecttype") == ty) for ty in TYPE_NAMES}
    print(f"{len(subjects)} subjects: " + ", ".join(f"{TYPE_NAMES[ty]}({ty}) {n}" for ty, n in by_type.items()))
    print("chapter trees: " + ", ".join(f"type {ty} {d} level(s)" for ty, d in sorted(depth.items())))
    print(f"{len(per_chapter)} leaf chapters with subjects, {len(outline)} outline entries, {len(files)} pictures")
    if faults:
        print(f"{len(faults)} fault(s):")
        for f in faults:
            print("  " + f)
        return 1
    print("demo content OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
