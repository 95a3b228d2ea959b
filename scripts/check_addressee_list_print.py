#!/usr/bin/env python3
"""Checks the job that the addressee list printed for the two rows that
"未送付を選択" selected after a sort (not next to each other) against a
reference job of the same two addressees.

    scripts/check_addressee_list_print.py ARTIFACTS_DIR

The end-to-end test left:

    addressee_list_print.ps      the list's job: the rows of 高橋 and 佐藤,
                                 selected after sorting by 氏名0
    addressee_list_reference.ps  a fresh run whose only cards are 高橋 and
                                 佐藤, printed from the main window

Both are rasterised with Ghostscript. Each page of the list's job must show
what the reference shows on the same page (postal code digits, address,
name, sender), and the two pages must differ from each other. Leaves
addressee_list_print-pages.png for a person. Ends with "N passed, N failed";
exits 1 when anything failed. Without both files (the test did not run)
there is nothing to check.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_print_e2e import Raster, count_pages, pictures  # noqa: E402

DPI = 100
# Pixels allowed to differ between two renderings of the same page.
NOISE = 50


def differing(a, b):
    """Pixels in which two pages (width, height, ink rows) differ in ink;
    None when a page is missing or their sizes differ."""
    if a is None or b is None or a[:2] != b[:2]:
        return None
    return sum(sum(1 for x, y in zip(ra, rb) if x != y) for ra, rb in zip(a[2], b[2]) if ra != rb)


def main():
    if len(sys.argv) != 2:
        print("usage: check_addressee_list_print.py ARTIFACTS_DIR", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    job_ps = os.path.join(folder, "addressee_list_print.ps")
    reference_ps = os.path.join(folder, "addressee_list_reference.ps")
    passed = failed = 0

    def result(ok, text):
        nonlocal passed, failed
        print(("ok    " if ok else "FAIL  ") + text)
        if ok:
            passed += 1
        else:
            failed += 1

    present = [os.path.isfile(p) for p in (job_ps, reference_ps)]
    if not any(present):
        print("nothing to check: the addressee list print test did not run")
        print("0 passed, 0 failed")
        return 0
    if not all(present):
        result(False, "one of addressee_list_print.ps and addressee_list_reference.ps is missing")
    else:
        result(count_pages(job_ps) == 2, f"the list's job has {count_pages(job_ps)} pages, expected 2")
        job = reference = None
        try:
            job = Raster(job_ps, DPI, os.path.join(folder, "addressee_list_print-%d.pgm"))
            reference = Raster(reference_ps, DPI, os.path.join(folder, "addressee_list_reference-%d.pgm"))
            for page in (1, 2):
                d = differing(job.page(page), reference.page(page))
                result(d is not None and d <= NOISE,
                       f"page {page} shows the reference's addressee ({d} pixels differ)")
            d = differing(job.page(1), job.page(2))
            result(d is not None and d > NOISE, f"the two pages show different addressees ({d} pixels differ)")
        except (OSError, ValueError, subprocess.SubprocessError) as e:
            result(False, f"rendering failed: {e}")
        finally:
            for raster in (job, reference):
                if raster:
                    raster.remove_files()
        pictures(folder, "addressee_list_print", job_ps, 2)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
