"""Checks that every file the installed program had mapped while it ran (its libraries, the
plugins Qt loaded, the Italian translation) comes from a package that PACKAGE depends on,
directly or through its dependencies' dependencies, or from an essential package: installing
the package alone on a Debian system then brings all of them, although this machine has many
more packages.

    /usr/bin/python3 tests/package/runtime_dependencies.py PACKAGE MAPPED_FILES_LIST...

Each list holds one path a line (the journeys write them with --desktop-entry). Prints the
packages that are not reached (with --verbose, every package the files came from); the last line
is "N passed, N failed", one check per package.
"""

import os
import re
import subprocess
import sys

# Which installed font fontconfig picks depends on what else is installed; that there is one
# comes with fontconfig's own dependencies.
ANY_OF_KIND = ("/usr/share/fonts/",)


def installed_packages():
    """Name -> (names it provides, its Depends and Pre-Depends as lists of alternatives), and
    the essential packages, which every Debian system has."""
    listing = subprocess.run(
        ["dpkg-query", "-W", "-f", "${db:Status-Abbrev}\t${Essential}\t${Package}\t"
         "${Provides}\t${Pre-Depends}, ${Depends}\n"],
        check=True, capture_output=True, text=True).stdout
    packages, essential = {}, []
    for line in listing.splitlines():
        status, is_essential, name, provides, depends = line.split("\t")
        if status.startswith("ii"):
            packages[name] = ([names(item)[0] for item in provides.split(",") if item.strip()],
                              [names(group) for group in depends.split(",") if group.strip()])
            if is_essential == "yes":
                essential.append(name)
    return packages, essential


def names(group):
    """The package names of "a (>= 1) | b:any", without versions and architectures."""
    return [re.split(r"[\s:(]", alternative.strip(), maxsplit=1)[0]
            for alternative in group.split("|")]


def dependency_closure(start, packages):
    providers = {}
    for name, (provides, _) in packages.items():
        for virtual in [name, *provides]:
            providers.setdefault(virtual, set()).add(name)
    reached, pending = set(), list(start)
    while pending:
        name = pending.pop()
        if name in reached or name not in packages:
            continue
        reached.add(name)
        for group in packages[name][1]:
            for alternative in group:
                pending.extend(providers.get(alternative, ()))
    return reached


def owners(paths):
    """Path -> the installed packages that ship it, also under its other name on a merged /usr;
    paths no package ships are left out."""
    aliases = {}
    for path in paths:
        aliases[path] = path
        for merged, alias in (("/usr/lib/", "/lib/"), ("/usr/lib64/", "/lib64/"),
                              ("/usr/bin/", "/bin/"), ("/usr/sbin/", "/sbin/")):
            if path.startswith(merged):
                aliases[alias + path[len(merged):]] = path
    found = subprocess.run(["dpkg-query", "-S", *aliases], capture_output=True, text=True).stdout
    shipped = {}
    for line in found.splitlines():
        listed, _, path = line.partition(": ")
        if path in aliases and not line.startswith("diversion "):
            shipped.setdefault(aliases[path], set()).update(
                name.strip().split(":")[0] for name in listed.split(","))
    return shipped


def main():
    arguments = sys.argv[1:]
    verbose = arguments[:1] == ["--verbose"]
    if verbose:
        arguments = arguments[1:]
    if len(arguments) < 2:
        print("usage: runtime_dependencies.py [--verbose] PACKAGE MAPPED_FILES_LIST...",
              file=sys.stderr)
        return 2
    package, lists = arguments[0], arguments[1:]
    mapped = set()
    for listing in lists:
        with open(listing) as paths:
            mapped.update(line.rstrip("\n") for line in paths if line.strip())
    mapped = sorted(path for path in mapped if not path.startswith(ANY_OF_KIND))
    packages, essential = installed_packages()
    check(package in packages, f"{package} is not installed")
    closure = dependency_closure([package, *essential], packages)
    shipped = owners(mapped)
    # One line per package (or set of packages shipping the same file).
    results = {}
    for path in mapped:
        if path in shipped:
            results.setdefault(" | ".join(sorted(shipped[path])),
                               [bool(shipped[path] & closure), []])[1].append(path)
    for name, (ok, paths) in sorted(results.items()):
        if verbose or not ok:
            print(f"{'ok  ' if ok else 'FAIL'} {name}: "
                  f"{', '.join(os.path.basename(p) for p in paths)}")
        if not ok:
            print(f"     {package} does not depend on it, directly or indirectly")
    unowned = [path for path in mapped if path not in shipped]
    if verbose and unowned:
        print("not from any package (made on this machine): " + ", ".join(unowned))
    passed = sum(ok for ok, _ in results.values())
    failed = len(results) - passed
    print(f"{passed} passed, {failed} failed")
    return 0 if passed and not failed else 1


def check(condition, message):
    if not condition:
        print(message, file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    sys.exit(main())
