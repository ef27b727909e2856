# Writes a zip package entry by entry: zip_parts.py FILE NAME TEXT [NAME TEXT ...]
# The parts as some other program than ours might lay them out.
import sys
import zipfile

with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    args = sys.argv[2:]
    for i in range(0, len(args), 2):
        z.writestr(args[i], args[i + 1])
