# Python Faker (Debian's python3-fake-factory) doing the same job, when it is installed.
import sys
from faker import Faker

fake = Faker()
count = int(sys.argv[1])
with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write("".join(f"{fake.first_name()} {fake.last_name()}\n" for _ in range(count)))
