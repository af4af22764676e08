#!/usr/bin/env python3
"""Compile and run BASIC modules in LibreOffice Basic (VBA mode), headless, several modules in
one soffice session.

  lobasic.py [--run SUB] [--folder DIR] [--timeout S] [--cat FILE] MODULE.bas...

Each module goes into the Standard library of a new hidden Calc document, with
"Option VBASupport 1" first (line numbers printed are the module's own). Every compile error is
printed as MODULE.bas:LINE:COL: compile error: MESSAGE. With --run, SUB runs after a clean
compile; when the module has the finisher's runtime (Public FtFolder), FtFolder is set to
--folder first (LibreOffice puts relative file names in /). Exit status: 0 all compiled (and
ran), 1 compile errors, 2 runtime error, 3 timeout, 4 LibreOffice could not be used, 5 usage.

Used as a library by the tests: Session().check(text, sub, folder) -> Verdict.
"""
import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAM_DIR = os.environ.get("FTVB_LO_PROGRAM", "/usr/lib/libreoffice/program")
SOFFICE = os.path.join(PROGRAM_DIR, "soffice.bin")
# A first start of an empty profile takes most of a start's time: one is made once per user
# and copied for every session.
TEMPLATE = os.path.join(tempfile.gettempdir(), "ftvb-lobasic-profile-%d" % os.getuid())
COMPILE_ONLY = "FtvbHarnessCompile__"
ENTRY = "FtvbHarnessEntry__"


class Unavailable(Exception):
    """LibreOffice or its Python bridge is missing, or soffice would not start."""


class Verdict:
    def __init__(self):
        self.compile_errors = []   # dicts: line, col, msg
        self.runtime_error = None  # dict or None
        self.timed_out = False
        self.seconds = 0.0

    @property
    def status(self):
        if self.timed_out:
            return "timeout"
        if self.compile_errors:
            return "compile-errors"
        if self.runtime_error:
            return "runtime-error"
        return "ok"


def available():
    """Why this machine cannot run the harness, or None."""
    if not os.path.exists(SOFFICE):
        return "no LibreOffice (%s)" % SOFFICE
    try:
        import uno  # noqa: F401
    except ImportError:
        return "no Python UNO bridge in %s (Debian python3-uno)" % sys.executable
    return None


def _in_thread(fn, timeout):
    """(True, result), (False, exception), or None when fn did not return in time."""
    box = []

    def run():
        try:
            box.append((True, fn()))
        except Exception as e:   # UNO exceptions too
            box.append((False, e))
    t = threading.Thread(target=run, daemon=True)
    t.start()
    t.join(timeout)
    return box[0] if box else None


class Office:
    """One soffice.bin in a process group of its own, with its own profile and pipe."""

    def __init__(self, profile):
        self.profile = profile
        self.pipe = "ftvb_lobasic_%d_%d" % (os.getpid(), int(time.time() * 1000) % 1000000)
        self.proc = None

    def start(self):
        log = open(os.path.join(self.profile, "soffice.log"), "ab")
        self.proc = subprocess.Popen(
            [SOFFICE, "-env:UserInstallation=file://" + self.profile, "--headless", "--invisible",
             "--nologo", "--norestore", "--nodefault", "--nolockcheck", "--nofirststartwizard",
             "--accept=pipe,name=%s;urp;" % self.pipe],
            cwd=self.profile, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
            start_new_session=True)
        log.close()

    def connect(self, timeout):
        import uno
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.time() + timeout
        while time.time() < deadline:
            code = self.proc.poll()
            if code == 81:            # a new profile's first start restarts itself
                self.start()
            elif code is not None:
                raise Unavailable("soffice ended with status %d while starting" % code)
            try:
                self.ctx = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)
                self.desktop = self.ctx.ServiceManager.createInstanceWithContext(
                    "com.sun.star.frame.Desktop", self.ctx)
                return
            except Exception:
                time.sleep(0.25)
        raise Unavailable("soffice did not answer within %d s" % timeout)

    def stop(self, politely=True):
        if self.proc is None:
            return
        if politely and self.proc.poll() is None:
            _in_thread(lambda: self.desktop.terminate(), 5)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                pass
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)   # the group this object started, only
        except ProcessLookupError:
            pass
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            pass
        self.proc = None


def _make_template(timeout):
    if os.path.isdir(os.path.join(TEMPLATE, "user")):
        return
    fresh = tempfile.mkdtemp(prefix="ftvb-lobasic-template-")
    office = Office(fresh)
    try:
        office.start()
        office.connect(timeout)
    finally:
        office.stop()
    try:
        os.remove(os.path.join(fresh, "soffice.log"))
        os.rename(fresh, TEMPLATE)
    except OSError:            # another session made it meanwhile
        shutil.rmtree(fresh, ignore_errors=True)


class Session:
    """LibreOffice started once; check() loads, compiles and runs one module at a time. A run
    that times out costs a restart of soffice."""

    def __init__(self, start_timeout=120):
        why = available()
        if why:
            raise Unavailable(why)
        self.start_timeout = start_timeout
        self.office = None
        self.profile = None

    def __enter__(self):
        self._start()
        return self

    def __exit__(self, *exc):
        self.close()

    def _start(self):
        _make_template(self.start_timeout)
        self.profile = tempfile.mkdtemp(prefix="ftvb-lobasic-")
        shutil.rmtree(self.profile)
        shutil.copytree(TEMPLATE, self.profile, symlinks=True)
        scripts = os.path.join(self.profile, "user", "Scripts", "python")
        os.makedirs(scripts, exist_ok=True)
        shutil.copy(os.path.join(HERE, "lobasic_hook.py"), scripts)
        self.errlog = os.path.join(self.profile, "basic-errors.jsonl")
        self.office = Office(self.profile)
        self.office.start()
        self.office.connect(self.start_timeout)
        ctx = self.office.ctx
        factory = ctx.ServiceManager.createInstanceWithContext(
            "com.sun.star.script.provider.MasterScriptProviderFactory", ctx)
        provider = factory.createScriptProvider("")
        self.hook = lambda fn: provider.getScript(
            "vnd.sun.star.script:lobasic_hook.py$%s?language=Python&location=user" % fn)
        r = _in_thread(lambda: self.hook("install").invoke((self.errlog,), (), ()), 30)
        if r is None or not r[0] or r[1][0] != "ok":
            raise Unavailable("the error hook did not install: %s" % (r and r[1]))

    def close(self, politely=True):
        if self.office:
            self.office.stop(politely)
            self.office = None
        if self.profile:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None

    def _errors(self, phase):
        out = []
        if os.path.exists(self.errlog):
            with open(self.errlog, encoding="utf-8") as log:
                for line in log:
                    e = json.loads(line)
                    if e.get("phase") == phase:
                        out.append(e)
        return out

    def check(self, modules, sub=None, folder=None, timeout=60):
        """Compiles a module text (LF or CR LF), or a list of them (one project: Module1,
        Module2...), and, when they compile, runs sub (of any of them). A LibreOffice that
        fails on the way (it may crash on a module) is a runtime error of that module, and
        a new soffice takes its place."""
        try:
            return self._check(modules, sub, folder, timeout)
        except Unavailable:
            raise
        except Exception as e:
            verdict = Verdict()
            verdict.runtime_error = {"line": 0, "col": 0, "msg": "LibreOffice failed: %s" % e}
            self.close(politely=False)
            self._start()
            return verdict

    def _check(self, modules, sub, folder, timeout):
        verdict = Verdict()
        start = time.time()
        texts = [modules] if isinstance(modules, str) else list(modules)
        shifts = {}
        prepared = []
        for k, text in enumerate(texts, 1):
            text = text.replace("\r\n", "\n")
            shifts["Module%d" % k] = 0
            if not re.search(r"(?im)^\s*option\s+vbasupport\s+1", text):
                text = "Option VBASupport 1\n" + text
                shifts["Module%d" % k] = 1
            if not text.endswith("\n"):
                text += "\n"
            text += "Sub %s%d()\nEnd Sub\n" % (COMPILE_ONLY, k)
            prepared.append(text)
        if sub:
            preset = ""
            if folder is not None and any(re.search(r"(?im)^\s*public\s+ftfolder\b", t) for t in prepared):
                preset = '    FtFolder = "%s"\n' % folder.replace('"', '""')
            prepared[0] += "Sub %s()\n%s    %s\nEnd Sub\n" % (ENTRY, preset, sub)
        if os.path.exists(self.errlog):
            os.remove(self.errlog)
        from com.sun.star.beans import PropertyValue
        hidden = PropertyValue()
        hidden.Name, hidden.Value = "Hidden", True
        desktop = self.office.desktop
        r = _in_thread(lambda: desktop.loadComponentFromURL(
            "private:factory/scalc", "_blank", 0, (hidden,)), 60)
        if r is None or not r[0]:
            raise RuntimeError("no document: %s" % (r and r[1]))
        doc = r[1]
        try:
            libraries = doc.BasicLibraries
            if not libraries.hasByName("Standard"):
                libraries.createLibrary("Standard")
            library = libraries.getByName("Standard")
            for k, text in enumerate(prepared, 1):
                library.insertByName("Module%d" % k, text)
            provider = doc.getScriptProvider()
            url = "vnd.sun.star.script:Standard.Module%d.%s?language=Basic&location=document"
            # compiling is running an empty Sub; Basic compiles a module more than once, so
            # the same error may be logged twice
            self.hook("phase").invoke(("compile",), (), ())
            for k in range(1, len(prepared) + 1):
                r = _in_thread(lambda: provider.getScript(url % (k, COMPILE_ONLY + str(k))).invoke((), (), ()),
                               max(1.0, timeout - (time.time() - start)))
                if r is None:
                    verdict.timed_out = True
                    break
            seen = set()
            for e in self._errors("compile"):
                key = (e.get("module"), e.get("line"), e.get("col"), e.get("msg"))
                if key not in seen:
                    seen.add(key)
                    e["line"] = e.get("line", 0) - shifts.get(e.get("module"), 0)
                    verdict.compile_errors.append(e)
            if sub and not verdict.compile_errors and not verdict.timed_out:
                self.hook("phase").invoke(("run",), (), ())
                left = max(1.0, timeout - (time.time() - start))
                r = _in_thread(lambda: provider.getScript(url % (1, ENTRY)).invoke((), (), ()), left)
                if r is None:
                    verdict.timed_out = True
                else:
                    errors = self._errors("run")
                    if errors:
                        e = errors[0]
                        verdict.runtime_error = dict(e, line=e.get("line", 0) - shifts.get(e.get("module"), 0))
                    elif not r[0]:
                        verdict.runtime_error = {"line": 0, "col": 0,
                                                 "msg": str(getattr(r[1], "Message", r[1]))}
        finally:
            if verdict.timed_out:
                # Basic is still busy: only a new soffice helps
                self.close(politely=False)
                self._start()
            else:
                _in_thread(lambda: doc.close(True), 10)
        verdict.seconds = time.time() - start
        return verdict


def describe(name, verdict, *_):
    """One line per problem; a module after the first is named NAME#k."""
    def where(e):
        k = re.sub(r"^Module", "", e.get("module") or "Module1")
        return name if k in ("1", "") else "%s#%s" % (name, k)
    out = []
    for e in verdict.compile_errors:
        out.append("%s:%d:%d: compile error: %s" % (where(e), e["line"], e["col"], e["msg"]))
    e = verdict.runtime_error
    if e:
        out.append("%s:%d:%d: runtime error: %s" % (where(e), e["line"], e["col"], e["msg"]))
    if verdict.timed_out:
        out.append("%s: timeout" % name)
    return out


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("modules", nargs="+")
    ap.add_argument("--run", metavar="SUB")
    ap.add_argument("--folder", help="FtFolder of the run, and where --cat looks (default: a new temporary folder)")
    ap.add_argument("--timeout", type=float, default=60)
    ap.add_argument("--cat", action="append", default=[], metavar="FILE")
    try:
        a = ap.parse_args(argv)
    except SystemExit as e:
        return 5 if e.code else 0
    texts = []
    for m in a.modules:
        try:
            texts.append(open(m, "rb").read().decode("cp1252", "replace"))
        except OSError as e:
            print("lobasic: cannot read %s: %s" % (m, e.strerror), file=sys.stderr)
            return 5
    folder = os.path.abspath(a.folder) if a.folder else tempfile.mkdtemp(prefix="ftvb-lobasic-run-")
    os.makedirs(folder, exist_ok=True)
    worst = 0
    try:
        with Session() as session:
            for name, text in zip(a.modules, texts):
                v = session.check(text, a.run, folder, a.timeout)
                for line in describe(name, v, text):
                    print(line)
                rc = {"ok": 0, "compile-errors": 1, "runtime-error": 2, "timeout": 3}[v.status]
                worst = max(worst, rc)
                print("lobasic: %s: %s, %.1f s" % (name, v.status, v.seconds))
    except Unavailable as e:
        print("lobasic: %s" % e, file=sys.stderr)
        return 4
    for n in a.cat:
        p = os.path.join(folder, n)
        if os.path.exists(p):
            sys.stdout.write("--- %s\n" % n)
            sys.stdout.write(open(p, "rb").read().decode("utf-8", "replace"))
    return worst


if __name__ == "__main__":
    code = main(sys.argv[1:])
    sys.stdout.flush()
    sys.stderr.flush()
    os._exit(code)   # the UNO bridge's threads would keep the process alive
