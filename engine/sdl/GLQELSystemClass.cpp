#include "engine/sdl/GLQELSystemClass.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

#include "engine/base/QelFrameLoop.h"
#include "engine/base/QelFramePacer.h"
#include "engine/base/QelStopSignals.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/sdl/QelSDLIcon.h"
#include "engine/sdl/QelSDLMessageBox.h"
#include "engine/sdl/QelSDLSoundBase.h"
#include "helper/QelAssert.h"

GLQELSystemClass* gSystem = nullptr;

namespace {

const char* const kStartupCaption = "Startup";

const char* const kWindowFailedText =
    "The game's window could not be opened.\n\nPlease check that a display is available and that its "
    "OpenGL drivers are installed.\n\nThe window system says: %s";
const char* const kNoDisplayText =
    "There is no display to open the game's window on.\n\nStart the game from a desktop session (or "
    "set DISPLAY to one).";
const char* const kSoundFailedText =
    "No sound device could be opened, so the game runs without sound and music.\n\nPlease check that "
    "speakers or a headset are connected and that the system's sound is working.";
const char* const kNetworkFailedText =
    "The network could not be started, so hosting or joining a game will fail.\n\nPlease check that "
    "your computer has working network access.";
const char* const kInputFailedText =
    "The keyboard, mouse and controllers could not be read, so the game cannot start.\n\nPlease check "
    "that they are connected and that their drivers are up to date.";
const char* const kGraphicsFailedText =
    "The game needs OpenGL 3.3 (core profile) and could not get it.\n\nPlease make sure the graphics "
    "drivers (Mesa or your card maker's driver) are installed and up to date.";

// A video driver asked for by name ("offscreen" for tests and benchmarks).
bool VideoDriverNamed()
{
    const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return driver != nullptr && driver[0] != '\0';
}

}  // namespace

GLQELSystemClass::GLQELSystemClass(QelGameLoop& game, GraphicsMaker makeGraphics)
    : game_(game), makeGraphics_(std::move(makeGraphics))
{
}

GLQELSystemClass::~GLQELSystemClass()
{
    Shutdown();
}

bool GLQELSystemClass::Initialize()
{
    QEL_ASSERT(windowSize_.width > 0 && windowSize_.height > 0, "windowSize_.width > 0 && windowSize_.height > 0");
    QEL_ASSERT(makeGraphics_ != nullptr, "a graphics maker");
    windowClassName_ = "Engine";
    CreateProgramWindow(windowSize_.width, windowSize_.height);
    if (window_ == nullptr)
        return false;
    InitializeSound();
    InitializeNetwork();
    if (!InitializeInput())
        return false;
    return InitializeGraphics(windowSize_.width, windowSize_.height);
}

// A window that cannot be made is reported here, and ends the start-up. With
// no display named (and no video driver asked for by name) there is nowhere
// to show one: the game says so rather than run where nobody sees it.
void GLQELSystemClass::CreateProgramWindow(int32_t width, int32_t height)
{
    gSystem = this;
    SetQelMessageBoxShower(ShowSDLMessageBox);  // the engine's boxes over this window from now on
    stopSignals_ = std::make_unique<QelStopSignals>();
    if (!NamesADisplay() && !VideoDriverNamed()) {
        ShowSDLMessageBox(kStartupCaption, kNoDisplayText, QelMessageBoxKind::Error);
        return;
    }
    sdlStarted_ = SDL_Init(SDL_INIT_VIDEO) == 0;
    if (sdlStarted_) {
        // Without joystick events no controller changes arrive; the game runs on.
        SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
        QelSDLGLContext::RequestAttributes();
        // A click that brings the window to the front is a click too: one
        // made while the game starts arrives with the window's focus, and is
        // not dropped as only the focusing click.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        window_ = SDL_CreateWindow(windowClassName_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    }
    if (window_ == nullptr) {
        std::vector<char> text(std::strlen(kWindowFailedText) + std::strlen(SDL_GetError()) + 1);
        std::snprintf(text.data(), text.size(), kWindowFailedText, SDL_GetError());
        ShowSDLMessageBox(kStartupCaption, text.data(), QelMessageBoxKind::Error);
        return;
    }
    SDL_RaiseWindow(window_);
    SDL_SetWindowInputFocus(window_);
    if (SDL_Surface* icon = CreateProgramIcon()) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_StartTextInput();
}

// Without a sound device the game runs on silently: the service is kept,
// flagged as not working, so every caller can ask it.
void GLQELSystemClass::InitializeSound()
{
    sound_ = std::make_unique<QelSDLSoundBase>();
    gSoundFactory = sound_.get();
    if (!sound_->Initialize())
        ShowSDLMessageBox(kStartupCaption, kSoundFailedText, QelMessageBoxKind::Error, window_);
}

// Without a network the game still starts; hosting or joining then fails
// with its own error.
void GLQELSystemClass::InitializeNetwork()
{
    try {
        network_ = std::make_unique<QelEnetNetworkFactoryBase>();
        gNetworkFactory = network_.get();
    } catch (const std::exception&) {
        ShowSDLMessageBox(kStartupCaption, kNetworkFailedText, QelMessageBoxKind::Error, window_);
    }
}

bool GLQELSystemClass::InitializeInput()
{
    input_ = std::make_unique<QelSDLInputBase>();
    gInputFactory = input_.get();
    if (!input_->Initialize()) {
        ShowSDLMessageBox(kStartupCaption, kInputFailedText, QelMessageBoxKind::Error, window_);
        return false;
    }
    translator_ = std::make_unique<QelSDLEventTranslator>(*input_->Keyboard(), *input_->Mouse(), droppedFiles_,
                                                          [this] { input_->RefreshJoysticks(); });
    return true;
}

bool GLQELSystemClass::InitializeGraphics(int32_t width, int32_t height)
{
    graphics_ = std::make_unique<QelSDLGLContext>();
    if (!graphics_->Create(window_)) {
        ShowSDLMessageBox(kStartupCaption, kGraphicsFailedText, QelMessageBoxKind::Error, window_);
        return false;
    }
    translator_->SetSizes(width, height, graphics_->Width(), graphics_->Height());
    graphicsFactory_ = makeGraphics_(windowSize_, *this);
    return graphicsFactory_->Initialize(graphics_->Width(), graphics_->Height(), window_);
}

bool GLQELSystemClass::Run()
{
    QelFrameLoop frame(game_, *this);
    QelFramePacer pacer;
    return QelRunLoop(game_, frame, pacer, *this).Run();
}

void GLQELSystemClass::Shutdown()
{
    graphicsFactory_.reset();
    graphics_.reset();
    translator_.reset();
    if (input_) {
        input_->Shutdown();
        input_.reset();
        gInputFactory = nullptr;
    }
    if (network_) {
        if (gNetworkFactory == network_.get())
            gNetworkFactory = nullptr;
        network_.reset();
    }
    if (sound_) {
        sound_->Shutdown();
        if (gSoundFactory == sound_.get())
            gSoundFactory = nullptr;
        sound_.reset();
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    if (sdlStarted_) {
        SDL_Quit();
        sdlStarted_ = false;
    }
    if (gSystem == this) {
        stopSignals_.reset();
        SetQelMessageBoxShower(nullptr);
        gSystem = nullptr;
    }
}

bool GLQELSystemClass::PopDroppedFile(std::string& path)
{
    if (droppedFiles_.empty())
        return false;
    path = droppedFiles_.front();
    droppedFiles_.erase(droppedFiles_.begin());
    return true;
}

void GLQELSystemClass::BeginFrame()
{
    graphicsFactory_->RollProfileCounters();
    sound_->UpdateSongs();
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    if (width != graphicsFactory_->GetWidth() || height != graphicsFactory_->GetHeight())
        graphicsFactory_->ResizeSwapChain(width, height);
}

void GLQELSystemClass::UpdateInput()
{
    input_->Update();
}

// The first frame also starts the run with no saved window placement.
void GLQELSystemClass::ClearBackBuffer()
{
    if (!graphicsFactory_->PlacementSaved())
        graphicsFactory_->ResetSavedPlacement();
    graphics_->Clear();
}

// The 2D batches drawn this frame go to the screen before it is shown. With
// $QEL_REPORT_FIRST_FRAME set, the first shown frame is reported on standard
// output, for the start-up benchmark.
void GLQELSystemClass::Present()
{
    graphicsFactory_->Flush2D();
    graphics_->Present(graphicsFactory_->VerticalSync());
    if (firstFramePresented_)
        return;
    firstFramePresented_ = true;
    if (std::getenv("QEL_REPORT_FIRST_FRAME") != nullptr) {
        std::fputs("first frame presented\n", stdout);
        std::fflush(stdout);
    }
}

void GLQELSystemClass::EndFrame()
{
    input_->Keyboard()->CopyEndOfFrame();
    input_->UpdateMouse();
}

// The queue is emptied even after a quit request, so no input is left
// behind; only what must wait behind a click the frames have not seen yet
// stays queued, in order, for the next frame.
bool GLQELSystemClass::PumpEvents()
{
    int clientWidth = 0, clientHeight = 0;
    SDL_GetWindowSize(window_, &clientWidth, &clientHeight);
    translator_->SetSizes(clientWidth, clientHeight, graphicsFactory_->GetWidth(), graphicsFactory_->GetHeight());

    bool quit = QelStopSignals::Requested();
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           !translator_->WaitsForNextFrame(event)) {
        SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        quit = translator_->Translate(event) || quit;
    }
    return quit;
}

void GLQELSystemClass::Sleep(int32_t milliseconds)
{
    SDL_Delay(static_cast<Uint32>(milliseconds));
}

void GLQELSystemClass::ShowError(const std::string& text)
{
    ShowSDLMessageBox("Error", text, QelMessageBoxKind::Error, window_);
}
