// Module zmx: its registration as a built-in module and its definition, in
// the order the mission's documentation shows it.

#include "game/script/ScriptBindings.h"

#include "game/script/ScriptObjectRef.h"
#include "engine/base/QelDataFolder.h"
#include "game/net/ClientRecord.h"
#include "game/net/NetworkIds.h"
#include "helper/QelAssert.h"

#include <iterator>
#include <numeric>
#include <sstream>

namespace zmx {
namespace {

// Every module function of zmx in the order the module defines them; the
// families add theirs by name (functions not built yet are skipped).
constexpr const char* kFunctionOrder[] = {
    "get_hull_map", "get_screen_size", "broad_test", "delete_object", "delete_all_navpoints",
    "delete_all_navproxies", "distance_point_line", "send_message_to_player_ship", "send_message_to_client",
    "send_comms_message_to_player_ship", "send_comms_selection_info", "send_comms_button_info",
    "send_grid_selection_info", "send_grid_button_info", "distance", "distance_id", "distance_to_navpoint",
    "distance_between_navpoints", "create_new_sim", "resume_sim", "pause_sim", "get_client_ID_list",
    "clear_client_tags", "add_client_tag", "query_client_tags", "find_valid_grid_point_for_vector3",
    "find_valid_unoccupied_grid_point_for_vector3", "send_gui_clear", "send_gui_complete", "send_gui_sub_region",
    "send_gui_button", "send_gui_typein", "send_gui_dropdown", "send_gui_slider", "send_gui_text",
    "send_gui_3dship", "send_gui_face", "send_gui_checkbox", "send_gui_icon", "send_gui_image",
    "send_gui_rawiconbutton", "send_gui_clickregion", "send_story_dialog", "send_gui_iconbutton",
    "send_gui_iconcheckbox", "send_gui_colorbutton", "send_gui_colorcheckbox", "hide_gui_tag", "show_gui_tag",
    "get_debug_gui_tree", "send_gui_hotkey", "remove_gui_hotkey", "send_client_widget_list",
    "query_client_widget_state", "assign_client_to_ship", "assign_client_to_alt_ship",
    "send_speech_bubble_to_object", "request_client_string", "set_client_string", "get_ship_of_client",
    "get_type_of_client", "set_music_tension", "set_music_folder", "play_music_file", "play_audio_file",
    "send_client_widget_rects", "app_milliseconds", "app_seconds", "app_minutes", "set_dmx_channel",
    "particle_at", "particle_on", "add_particle_emittor", "particle_emittor_exists", "delete_particle_emittor",
    "get_game_version", "set_sky_box", "set_sky_box_all", "set_beam_damages", "set_main_view_modes",
    "delete_grid_object", "push_to_standby_list_id", "push_to_standby_list", "retrieve_from_standby_list_id",
    "retrieve_from_standby_list", "in_standby_list_id", "in_standby_list", "run_next_mission",
    "get_preference_string", "get_preference_int", "get_preference_float", "super_hyper_warp_mode",
    "send_hold_menu", "cinematic_control", "suppress_client_connect_dialog", "transparent_options_button",
    "set_shared_string", "get_shared_string", "get_text_block_height", "get_text_line_width",
    "get_text_line_height", "player_ship_setup_defaults", "player_ship_setup_from_data",
};

void DefineFunctions(py::module_& m)
{
    FunctionTable table;
    AddSimulationFunctions(table);
    AddSpaceFunctions(table);
    AddClientFunctions(table);
    AddGridFunctions(table);
    AddMessageFunctions(table);
    AddEffectsFunctions(table);
    AddGuiFunctions(table);
    table.DefineInOrder(m);
}

std::string HexId(uint64_t id)
{
    std::ostringstream text;
    text << "0x" << std::hex << id;
    return text.str();
}

// "function: [argument ]what; nothing changed".
[[noreturn]] void RaiseArgumentError(const char* function, const char* argument, const std::string& what)
{
    std::string text = std::string(function) + ": ";
    if (argument)
        text += std::string(argument) + " ";
    throw py::value_error(text + what + "; nothing changed");
}

[[noreturn]] void RaiseWrongId(uint64_t id, const char* function, const char* argument, const char* wanted)
{
    RaiseArgumentError(function, argument, HexId(id) + " is not " + wanted);
}

std::string NumberText(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

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
    DeclareTractorConnection(m);
    DefineVectors(m);
    DefineRecordClasses(m);
    DefineGridObject(m);
    DefineHullMap(m);
    DefineEvent(m);
    DefineObjectDataSet(m);
    DefineSpaceObject(m);
    DefineSimulation(m);
    DefineFunctions(m);
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

void CheckTextsFit(std::initializer_list<const std::string*> texts, const char* function)
{
    const size_t total = std::accumulate(texts.begin(), texts.end(), size_t{0},
                                         [](size_t sum, const std::string* text) { return sum + text->size(); });
    if (total > kMaxScriptTextBytes)
        throw py::value_error(std::string(function) + ": texts of " + std::to_string(total) +
                              " bytes together are longer than the " + std::to_string(kMaxScriptTextBytes) +
                              " one message can carry; nothing changed");
}

void CheckFinite(float value, const char* field)
{
    RequireFinite(value, field, nullptr);
}

void RequireClient(uint64_t id, const char* function, const char* argument)
{
    if (!VALID_CLIENT(id))
        RaiseWrongId(id, function, argument, "a client id");
}

void RequireClientOrServer(uint64_t id, const char* function, const char* argument)
{
    if (id != 0 && !VALID_CLIENT(id))
        RaiseWrongId(id, function, argument, "a client id or 0 (the server)");
}

void RequireSpaceObject(uint64_t id, const char* function, const char* argument)
{
    if (!IsSpaceObjectId(id))
        RaiseWrongId(id, function, argument, "a space object id");
}

void RequireSpaceObjectOrNone(uint64_t id, const char* function, const char* argument)
{
    if (!IsNoneOrSpaceObjectId(id))
        RaiseWrongId(id, function, argument, "a space object id or 0");
}

void RequireGridObjectOrNone(uint64_t id, const char* function, const char* argument)
{
    if (!IsNoneOrGridObjectId(id))
        RaiseWrongId(id, function, argument, "a grid object id or 0");
}

void RequireClientShipOrServer(uint64_t id, const char* function, const char* argument)
{
    if (id != 0 && !VALID_CLIENT(id) && !IsSpaceObjectId(id))
        RaiseWrongId(id, function, argument, "a client id, a ship id or 0 (the server)");
}

void RaiseOutside(int64_t value, int64_t low, int64_t high, const char* function, const char* argument)
{
    RaiseArgumentError(function, argument,
                       std::to_string(value) + " is outside " + std::to_string(low) + ".." + std::to_string(high));
}

void RequireWithin(float value, float low, float high, const char* function, const char* argument)
{
    if (!(value >= low && value <= high))
        RaiseArgumentError(function, argument,
                           NumberText(value) + " is outside " + NumberText(low) + ".." + NumberText(high));
}

void RequireBelowInSize(float value, float bound, const char* function, const char* argument)
{
    if (!(std::fabs(value) < bound))
        RaiseArgumentError(function, argument,
                           NumberText(value) + " is not between -" + NumberText(bound) + " and " + NumberText(bound));
}

void RequireFinite(float value, const char* function, const char* argument)
{
    if (!std::isfinite(value))
        RaiseArgumentError(function, argument, NumberText(value) + " is not a finite number");
}

void RequireFinite(const glm::vec3& value, const char* function, const char* argument)
{
    if (!AllFinite(value))
        RaiseArgumentError(function, argument,
                           "(" + NumberText(value.x) + ", " + NumberText(value.y) + ", " + NumberText(value.z) +
                               ") is not a finite point");
}

void RequireText(const std::string& text, const char* function, const char* argument)
{
    if (text.empty())
        RaiseArgumentError(function, argument, "is empty");
}

void RequireDataFileName(const std::string& name, const char* function, const char* argument)
{
    RequireText(name, function, argument);
    if (!qel::CheckDataName(name))
        RaiseArgumentError(function, argument, "\"" + name + "\" is not a file name inside the data folder");
}

SpaceObjectRef& RequireObject(SpaceObjectRef* object, const char* function)
{
    if (!object)
        throw py::type_error(std::string(function) + ": None given where a space_object is needed; nothing changed");
    return *object;
}

glm::vec3 RequireVector(const ScriptValue<glm::vec3>* value, const char* function)
{
    if (!value)
        throw py::type_error(std::string(function) + ": None given where a vec3 is needed; nothing changed");
    return value->Get();
}

void FunctionTable::AddDefiner(const char* name, std::function<void(py::module_&)> definer)
{
    const bool added = definers.emplace(name, std::move(definer)).second;
    QEL_ASSERT(added, "module function added twice");
}

void FunctionTable::DefineInOrder(py::module_& m) const
{
    size_t defined = 0;
    for (const char* name : kFunctionOrder) {
        auto found = definers.find(name);
        if (found == definers.end())
            continue;
        found->second(m);
        ++defined;
    }
    QEL_ASSERT(defined == definers.size(), "a module function is missing from the function order");
}

}  // namespace zmx
