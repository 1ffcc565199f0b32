#include "script/BuiltinSupport.h"
#include "script/Convert.h"
#include "script/ErrObject.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

Variant Err(Runtime& r, const Args&) {
  return Variant::Object(r.err);
}

// No component can be created, and code cannot be compiled from inside a script.
Variant CreateObject(Runtime&, const Args& a) {
  ThrowError(vberr::kCannotCreateObject, ToTextOrEmpty(a[0]));
}

Variant GetObject(Runtime&, const Args& a) {
  ThrowError(vberr::kCannotCreateObject, a.empty() ? std::string() : ToTextOrEmpty(a[0]));
}

template <const char* Name>
Variant Unsupported(Runtime&, const Args&) {
  ThrowError(vberr::kCannotCreateObject, Name);
}

constexpr char kEval[] = "Eval";
constexpr char kExecute[] = "Execute";
constexpr char kExecuteGlobal[] = "ExecuteGlobal";

constexpr Builtin kObjects[] = {
    {"createobject", "CreateObject", 1, 2, CreateObject},
    {"err", "Err", 0, 0, Err},
    {"eval", "Eval", 1, 1, Unsupported<kEval>},
    {"execute", "Execute", 1, 1, Unsupported<kExecute>},
    {"executeglobal", "ExecuteGlobal", 1, 1, Unsupported<kExecuteGlobal>},
    {"getobject", "GetObject", 0, 2, GetObject},
};

}  // namespace

std::span<const Builtin> ObjectBuiltins() {
  return kObjects;
}

}  // namespace gui::script
