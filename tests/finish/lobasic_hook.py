# Loaded INTO soffice by its Python script provider. Headless LibreOffice shows Basic's errors
# in no window and tells nobody; this swaps Basic's global error handler for one that appends
# each error (phase, line, column, message, module) as a JSON line to a log file.
# x86-64 Linux, LibreOffice 7.x: the handler is reached through the library's C++ symbols.
import ctypes
import json
import os

_hook = {}   # the callback and its Link must live as long as the process


def _basic_library():
    here = os.environ.get("FTVB_LO_PROGRAM", "/usr/lib/libreoffice/program")
    for name in ("libmergedlo.so", "libsblo.so"):
        if os.path.exists(os.path.join(here, name)):
            return ctypes.CDLL(os.path.join(here, name))
    raise RuntimeError("no Basic library in " + here)


def _function(lib, symbol, result, *args):
    fn = getattr(lib, symbol)
    fn.restype = result
    fn.argtypes = list(args)
    return fn


def _ustring(address):
    """The text of an rtl_uString*: a reference count, a length, then UTF-16 units."""
    if not address:
        return ""
    length = ctypes.c_int32.from_address(address + 4).value
    return ctypes.string_at(address + 8, 2 * length).decode("utf-16-le", "replace")


def install(*args):
    """install(log): Basic's errors go to the file log from now on."""
    lib = _basic_library()
    v = ctypes.c_void_p
    set_handler = _function(lib, "_ZN9StarBASIC17SetGlobalErrorHdlERK4LinkIPS_bE", None, v)
    line = _function(lib, "_ZN9StarBASIC7GetLineEv", ctypes.c_uint16)
    column = _function(lib, "_ZN9StarBASIC7GetCol1Ev", ctypes.c_uint16)
    text = _function(lib, "_ZN9StarBASIC12GetErrorTextEv", v)
    module = _function(lib, "_ZN9StarBASIC15GetActiveModuleEv", v)
    name = _function(lib, "_ZNK11SbxVariable7GetNameE11SbxNameType", v, v, ctypes.c_int)

    def on_error(_instance, _basic):
        try:
            where = module()
            record = {"phase": _hook["phase"], "line": line(), "col": column(),
                      "msg": _ustring(ctypes.c_void_p.from_address(text()).value) if text() else "",
                      "module": _ustring(ctypes.c_void_p.from_address(name(where, 0)).value) if where else ""}
        except Exception as e:   # an exception must not cross into C++
            record = {"phase": _hook.get("phase"), "hook_error": repr(e)}
        with open(_hook["log"], "a", encoding="utf-8") as out:
            out.write(json.dumps(record) + "\n")
        # a compile error: go on and find the others; a runtime error: stop the program
        return _hook["phase"] == "compile"

    callback = ctypes.CFUNCTYPE(ctypes.c_bool, v, v)(on_error)
    link = (ctypes.c_void_p * 2)(ctypes.cast(callback, ctypes.c_void_p).value, None)
    _hook.update(log=args[0], phase="compile", callback=callback, link=link)
    set_handler(ctypes.addressof(link))
    return "ok"


def phase(*args):
    """phase("compile" | "run"): what the errors from now on are."""
    _hook["phase"] = args[0]
    return "ok"


g_exportedScripts = (install, phase)
