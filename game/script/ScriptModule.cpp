// Module zmx: its registration as a built-in module and its definition, in
// the order the mission's documentation shows it.

#include "game/script/ScriptBindings.h"

#include "game/script/ScriptObjectRef.h"

namespace zmx {
namespace {

// Definition order: the classes, then the module functions, then the
// enumerations. Parts of the module defined elsewhere slot in here.
void DefineModule(py::module_& m)
{
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown)
                std::rethrow_exception(thrown);
        } catch (const StaleScriptReference& error) {
            PyErr_SetString(PyExc_ReferenceError, error.what());
        }
    });
    DefineWriter(m);
    DefineVectors(m);
    DefineEvent(m);
    DefineObjectDataSet(m);
    DefineSpaceObject(m);
    DefineSimulation(m);
    DefineEnums(m);
}

PyObject* CreateModule()
{
    static PyModuleDef definition;
    auto m = py::module_::create_extension_module("zmx", nullptr, &definition);
    try {
        DefineModule(m);
        return m.release().ptr();
    } catch (py::error_already_set& error) {
        py::raise_from(error, PyExc_ImportError, "initialization failed");
    } catch (const std::exception& error) {
        PyErr_SetString(PyExc_ImportError, error.what());
    }
    return nullptr;
}

}  // namespace

// The table of built-in modules is read when an interpreter starts, so one
// entry serves every later start; a second entry would only shadow the first.
void RegisterModule()
{
    static bool registered = false;
    if (registered)
        return;
    if (PyImport_AppendInittab("zmx", &CreateModule) == -1)
        throw std::runtime_error("Insufficient memory to add a new module");
    registered = true;
}

py::str DecodeLenient(const std::string& text)
{
    PyObject* decoded = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
    if (!decoded)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(decoded);
}

void CheckTextFits(const std::string& text, const char* field)
{
    if (text.size() > kMaxScriptTextBytes)
        throw py::value_error(std::string(field) + ": text of " + std::to_string(text.size()) +
                              " bytes is longer than the " + std::to_string(kMaxScriptTextBytes) +
                              " a message can carry; nothing changed");
}

}  // namespace zmx
