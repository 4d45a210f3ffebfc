#include "game/script/MissionScript.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelNetworkMessage.h"
#include "game/script/MissionScriptFile.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptConsoleLog.h"
#include "game/world/ServerMessageSink.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "helper/QelAssert.h"

#include <pybind11/embed.h>

namespace py = pybind11;

MissionScript theMissionScript;

// The mission's imported modules; their presence means scripts are loaded.
struct MissionScript::ScriptModules {
    py::object script;  // the mission's "script" module
    py::object dmx;     // the "dmx" module, None when the mission has none
};

namespace {

// A line of an error report is cut here: a syntax error in a 70 KB expression
// would otherwise quote the whole expression, and nobody reads that.
constexpr size_t kMaxReportLineBytes = 300;

std::string CutLongLines(const std::string& text)
{
    std::string cut;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        const size_t length = end - begin;
        size_t kept = std::min(length, kMaxReportLineBytes);
        while (kept > 0 && kept < length && (static_cast<unsigned char>(text[begin + kept]) & 0xC0) == 0x80)
            --kept;  // never inside a UTF-8 character
        cut.append(text, begin, kept);
        if (length > kMaxReportLineBytes)
            cut += "... (" + std::to_string(length) + " bytes in all)";
        if (end < text.size())
            cut += '\n';
        begin = end + 1;
    }
    return cut;
}

}  // namespace

// One call into Python. The outermost call takes the interpreter lock and
// gives it back when it ends, also by an exception; nested calls (an event
// raised by a script function while the handler runs) already hold it. A
// Python error leaving the call becomes a ScriptError with its traceback, so
// no Python object outlives the lock.
class MissionScript::PythonCall {
public:
    explicit PythonCall(MissionScript& host) : host(host)
    {
        if (host.callDepth++ == 0)
            PyEval_RestoreThread(host.savedThreadState);
    }
    ~PythonCall()
    {
        if (--host.callDepth == 0)
            host.savedThreadState = PyEval_SaveThread();
    }
    PythonCall(const PythonCall&) = delete;
    PythonCall& operator=(const PythonCall&) = delete;

    template <typename Body>
    void Run(Body&& body)
    {
        try {
            body();
        } catch (py::error_already_set& error) {
            throw ScriptError(FormatTraceback(error));
        }
    }

    // The whole traceback as Python prints it, overlong lines cut; pybind11's
    // own text when the traceback module itself fails.
    static std::string FormatTraceback(py::error_already_set& error)
    {
        try {
            const py::list lines =
                py::module_::import("traceback").attr("format_exception")(error.type(), error.value(), error.trace());
            std::string text;
            for (const py::handle line : lines)
                text += line.cast<std::string>();
            return CutLongLines(text);
        } catch (const std::exception&) {
            return error.what();
        }
    }

private:
    MissionScript& host;
};

namespace {

// Folders of the data folder on sys.path beside the mission's own.
constexpr const char* kCommonMissionFolder = "data/missions/common/";
constexpr const char* kAddonFolder = "data/PyAddons/";
constexpr const char* kMissionsFolder = "data/missions/";
constexpr const char* kScriptFile = "script.py";
constexpr const char* kHandlerName = "halvex_event_handler";
// Where a failed import went wrong: the file and line of a syntax error, else
// those of the deepest frame that runs a file of the mission (Python's own
// import machinery runs "<frozen ...>" code), else the mission's script.
std::string WhereItFailed(py::error_already_set& error, const std::string& scriptPath)
{
    try {
        const py::object value = error.value();
        if (py::isinstance(value, py::module_::import("builtins").attr("SyntaxError")) &&
            !value.attr("filename").is_none()) {
            std::string where = py::str(value.attr("filename")).cast<std::string>();
            if (!value.attr("lineno").is_none())
                where += ", line " + py::str(value.attr("lineno")).cast<std::string>();
            return where;
        }
        std::string where = scriptPath;
        // A null trace is no traceback at all (an error of the compiler itself).
        for (py::object frame = error.trace(); frame && !frame.is_none(); frame = frame.attr("tb_next")) {
            const std::string file = py::str(frame.attr("tb_frame").attr("f_code").attr("co_filename"));
            if (file.rfind('<', 0) != 0)
                where = file + ", line " + py::str(frame.attr("tb_lineno")).cast<std::string>();
        }
        return where;
    } catch (const py::error_already_set&) {
        return scriptPath;
    }
}

// What went wrong, in Python's words: a syntax error's own message without
// the place, which WhereItFailed gives.
std::string WhatFailed(py::error_already_set& error)
{
    try {
        const py::object value = error.value();
        const bool syntax = py::isinstance(value, py::module_::import("builtins").attr("SyntaxError"));
        return py::str(error.type().attr("__name__")).cast<std::string>() + ": " +
               py::str(syntax ? value.attr("msg") : value).cast<std::string>();
    } catch (const py::error_already_set&) {
        return error.what();
    }
}

void RequireCallable(const py::object& handler, const std::string& scriptPath)
{
    if (!PyCallable_Check(handler.ptr())) {
        throw ScriptError(scriptPath + ": " + kHandlerName + " is a value of type " +
                          py::str(py::type::of(handler).attr("__name__")).cast<std::string>() +
                          ", not a function.");
    }
}

// The handler as the game calls it: a plain function, or any other callable.
// A mission without one, or with anything else, would fail at every event,
// and an async or generator function would return without running its body.
void CheckEventHandler(const py::object& script, const std::string& scriptPath)
{
    if (!py::hasattr(script, kHandlerName)) {
        throw ScriptError(scriptPath + ": defines no " + kHandlerName +
                          "(sim, event); the game hands every event to it; nothing started.");
    }
    const py::object handler = script.attr(kHandlerName);
    RequireCallable(handler, scriptPath);
    const py::module_ inspect = py::module_::import("inspect");
    const char* kind = nullptr;
    if (inspect.attr("iscoroutinefunction")(handler).cast<bool>())
        kind = "an async function";
    else if (inspect.attr("isasyncgenfunction")(handler).cast<bool>())
        kind = "an async generator";
    else if (inspect.attr("isgeneratorfunction")(handler).cast<bool>())
        kind = "a generator (it yields)";
    if (kind == nullptr)
        return;
    std::string where = scriptPath;
    if (py::hasattr(handler, "__code__")) {
        const py::object code = handler.attr("__code__");
        where = py::str(code.attr("co_filename")).cast<std::string>() + ", line " +
                py::str(code.attr("co_firstlineno")).cast<std::string>();
    }
    throw ScriptError(where + ": " + kHandlerName + " is " + kind +
                      "; the game calls it as a plain function, so its body would never run; nothing started.");
}

// A handler swapped at run time for one that only makes a coroutine or a
// generator did nothing; that is said instead of passing in silence.
void RefuseDeferredResult(const py::object& result, const std::string& scriptPath)
{
    const char* kind = PyCoro_CheckExact(result.ptr())       ? "a coroutine"
                       : PyAsyncGen_CheckExact(result.ptr()) ? "an async generator"
                       : PyGen_Check(result.ptr())           ? "a generator"
                                                             : nullptr;
    if (kind == nullptr)
        return;
    result.attr("close")();
    throw ScriptError(scriptPath + ": " + kHandlerName + " returned " + kind +
                      " instead of running; it must be a plain function.");
}

std::string MissionDataFolder(const std::string& missionName)
{
    return std::string(kMissionsFolder) + missionName + "/";
}

// Debian's interpreter, kept from what the environment or the user's site
// folder could change, without its signal handlers (the program owns those)
// and writing no bytecode into mission folders.
void InitializeInterpreter()
{
    PyConfig config;
    PyConfig_InitIsolatedConfig(&config);
    config.install_signal_handlers = 0;
    config.write_bytecode = 0;
    py::initialize_interpreter(&config, 0, nullptr, false);
}

void AppendToSysPath(const std::string& gamePath)
{
    py::module_::import("sys").attr("path").attr("append")(qel::ResolveGamePath(gamePath));
}

void PrependToSysPath(const std::string& gamePath)
{
    py::module_::import("sys").attr("path").attr("insert")(0, qel::ResolveGamePath(gamePath));
}

}  // namespace

MissionScript::MissionScript() = default;

// The interpreter is left to the process's end, as finalizing it during static
// destruction is not safe.
MissionScript::~MissionScript()
{
    if (modules)
        (void)modules.release();
}

void MissionScript::Start(std::string missionName)
{
    BeginStart();
    const std::optional<std::string> checkedName = qel::CheckDataName(missionName);
    if (!checkedName || checkedName->find('/') != std::string::npos)
        throw ScriptError("Mission \"" + missionName + "\" is not a folder name in data/missions; nothing started.");
    StartMission(qel::ResolveGamePath(MissionDataFolder(*checkedName)), "missions/" + *checkedName + "/");
}

// The operator's own folder: its path is trusted as given, and the world
// reads the mission's ship types from there too.
void MissionScript::StartFolder(const std::filesystem::path& folder)
{
    BeginStart();
    const std::string path = (std::filesystem::absolute(folder).lexically_normal() / "").string();
    StartMission(path, path);
}

// Before anything can fail, the consoles forget the last mission's strings.
void MissionScript::BeginStart()
{
    simRunning = false;
    ServerStringMap::Instance().Clear();
    SendSignalToAll(kSignalStringMapCommand, {"clear", "stringmap"});
}

void MissionScript::StartMission(const std::string& folder, const std::string& worldFolder)
{
    QEL_ASSERT(!Py_IsInitialized(), "MissionScript::Start while a mission runs");
    scriptPath = folder + kScriptFile;
    CheckMissionScriptFile(scriptPath);

    zmx::RegisterModule();
    InitializeInterpreter();
    std::string pythonError;
    try {
        StartInterpreter(folder, worldFolder);
    } catch (py::error_already_set& error) {
        // One line that says where and what, then Python's whole report.
        pythonError = CutLongLines(WhereItFailed(error, scriptPath) + ": " + WhatFailed(error)) + "\n" +
                      PythonCall::FormatTraceback(error);
    } catch (...) {
        EndInterpreter();
        throw;
    }
    // The Python error is gone by now: it must not outlive the interpreter.
    if (!pythonError.empty()) {
        EndInterpreter();
        ShowCapturedOutput();
        throw ScriptError(pythonError);
    }
    savedThreadState = PyEval_SaveThread();
    // What the mission printed while it loaded is shown now, not with the
    // output of its first event.
    ShowCapturedOutput();
}

// With the lock held: drops the mission's modules and ends the interpreter.
void MissionScript::EndInterpreter()
{
    modules.reset();
    py::finalize_interpreter();
}

// Steps of Start that run Python; an error leaves them at once.
void MissionScript::StartInterpreter(const std::string& folder, const std::string& worldFolder)
{
    missionFolder = worldFolder;
    py::module_::import("sys").attr("dont_write_bytecode") = true;
    AppendToSysPath(folder);
    AppendToSysPath(kCommonMissionFolder);
    AppendToSysPath(kAddonFolder);

    py::exec("import zmx\n", py::module_::import("__main__").attr("__dict__"));
    py::module_ sys = py::module_::import("sys");
    sys.attr("stdout") = py::cast(&stdoutLogger, py::return_value_policy::reference);
    sys.attr("stderr") = py::cast(&stderrLogger, py::return_value_policy::reference);

    GenerateDoc();

    modules = std::make_unique<ScriptModules>();
    modules->dmx = py::none();
    modules->script = py::module_::import("script");
    CheckEventHandler(modules->script, scriptPath);
    ImportDmxModule(folder);
}

// The mission's own dmx.py, else the one its folder's parent shares among
// its missions, else the parent's common folder's; none of them: no DMX
// module.
void MissionScript::ImportDmxModule(const std::string& folder)
{
    const std::string shared = ((std::filesystem::path(folder) / "..").lexically_normal() / "").string();
    const std::string common = shared + "common/";
    QelFileServices& files = QelFileServices::Instance();
    if (files.FileExists(folder + "dmx.py")) {
        modules->dmx = py::module_::import("dmx");
    } else if (files.FileExists(shared + "dmx.py")) {
        PrependToSysPath(shared);
        modules->dmx = py::module_::import("dmx");
    } else if (files.FileExists(common + "dmx.py")) {
        PrependToSysPath(common);
        modules->dmx = py::module_::import("dmx");
    }
}

void MissionScript::Stop()
{
    simRunning = false;
    if (modules) {
        QEL_ASSERT(callDepth == 0, "MissionScript::Stop called from inside the mission");
        PyEval_RestoreThread(savedThreadState);
        savedThreadState = nullptr;
        EndInterpreter();
        if (world)
            world->Clear();
    }
    SendSignalToAll(kSignalMissionStopped, {});
}

void MissionScript::HandleEvent(const EventMessage& event)
{
    if (!modules)
        return;
    CallMission([&] {
        const py::object handler = modules->script.attr(kHandlerName);
        RequireCallable(handler, scriptPath);
        RefuseDeferredResult(handler(zmx::WorldForScripts(), py::cast(event)), scriptPath);
    });
}

void MissionScript::HandleDMX()
{
    if (!modules || modules->dmx.is_none())
        return;
    CallMission([&] { modules->dmx.attr("HandleDMX")(zmx::WorldForScripts()); });
}

// What the mission printed is shown after the call, and before the error
// when the call ends in one: its last words are often what explains it.
void MissionScript::CallMission(const std::function<void()>& body)
{
    try {
        PythonCall call(*this);
        call.Run(body);
    } catch (...) {
        ShowCapturedOutput();
        throw;
    }
    ShowCapturedOutput();
}

// Without a mission nothing would ever deliver the queue.
void MissionScript::QueueEvent(const EventMessage& event)
{
    if (modules)
        eventQueue.push_back(event);
}

void MissionScript::ProcessEventQueue()
{
    std::vector<EventMessage> delivering;
    delivering.swap(eventQueue);
    for (const EventMessage& event : delivering)
        HandleEvent(event);
}

void MissionScript::GenerateDoc()
{
    py::exec("help(zmx)\n", py::module_::import("__main__").attr("__dict__"));
    QelFileIO* file = QelFileServices::Instance().GetFileIO("MissionScript::GenerateDoc");
    if (!file->Open("data", "script_documentation", "txt", false, true, false, false))
        return;
    file->WriteString(stdoutLogger.TakeText());
    file->Close();
}

// The newline that ends the last line starts no line of its own: a burst of
// printed lines shows as those lines and no more.
void MissionScript::Print(std::string text, glm::vec4 colour)
{
    if (text.empty() || !consoleLog)
        return;
    size_t begin = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
        consoleLog->AddLine(text.substr(begin, end - begin), colour);
        begin = end + 1;
    }
    if (begin < text.size())
        consoleLog->AddLine(text.substr(begin), colour);
}

void MissionScript::CreateNewSim(std::string folder)
{
    if (world) {
        world->Clear();
        world->Reset(true, folder);
    }
    Screen().ClearForNewWorld();
    SendSignalToAll(kSignalNewWorld, {});
}

ServerScreen& MissionScript::Screen() const
{
    static ServerScreen headless;
    return serverScreen ? *serverScreen : headless;
}

void MissionScript::ShowCapturedOutput()
{
    Print(stdoutLogger.TakeText(), kStdoutColour);
    Print(stderrLogger.TakeText(), kStderrColour);
}

void MissionScript::SendSignalToAll(int32_t code, const std::vector<std::string>& texts)
{
    if (!messageSink)
        return;
    QelNetworkMessage& message = messageSink->StartMessage();
    message.WriteInt64(HashMessageName("signal"));
    message.WriteInt16(code);
    for (const std::string& text : texts)
        message.WriteString(text);
    // Each changes what every console shows until the next one; none may be lost.
    messageSink->SendToAll(message, ServerMessageSink::kReliable);
}
