"""Writes the lines of an evaluation text: one paragraph a line, up to a size."""


def write_lines(path, lines, max_chars=0):
    """Writes the lines in order, stopping after the line that reaches max_chars characters
    (counting one line break each); 0 writes them all."""
    kept, size = [], 0
    for line in lines:
        kept.append(line)
        size += len(line) + 1
        if max_chars and size >= max_chars:
            break
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(kept) + "\n")
