#pragma once
// The spine of the program: opens the main window, brings up the engine's
// services, runs the event pump and the frame loop until the program is asked
// to end (window closed, the input service's Quit, SIGINT or SIGTERM), and
// takes everything down again. The graphics service is the program's choice:
// the system makes it through the maker it is given, for its window.

#include <SDL2/SDL_video.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/QelFrameServices.h"
#include "engine/base/QelRunLoop.h"
#include "engine/base/QelSystemServices.h"
#include "engine/sdl/QelSDLEventTranslator.h"
#include "engine/sdl/QelSDLGLContext.h"
#include "engine/sdl/QelSDLInputBase.h"

class QelEnetNetworkFactoryBase;
class QelSDLSoundBase;
class QelStopSignals;

class QelGameLoop;

class GLQELSystemClass : public QelSystemServices, private QelFrameServices, private QelRunPlatform {
public:
    // The graphics service for the window, sized as asked at start-up.
    using GraphicsMaker =
        std::function<std::unique_ptr<QelWindowGraphics>(const QelWindowSize& size, QelSystemServices& system)>;

    GLQELSystemClass(QelGameLoop& game, GraphicsMaker makeGraphics);
    ~GLQELSystemClass() override;
    GLQELSystemClass(const GLQELSystemClass&) = delete;
    GLQELSystemClass& operator=(const GLQELSystemClass&) = delete;

    // Window and services; false when input or graphics failed.
    bool Initialize();
    // Game start-up, then frames until the program is asked to end; false
    // when an error ended the run.
    bool Run();
    // Takes the services and the window down; safe to call more than once.
    void Shutdown();

    // Takes the oldest file dropped on the window; false when none waits.
    bool PopDroppedFile(std::string& path) override;

    SDL_Window* Window() const { return window_; }
    QelSDLInputBase* Input() const { return input_.get(); }
    QelSDLSoundBase* Sound() const { return sound_.get(); }
    QelWindowGraphics* Graphics() const { return graphicsFactory_.get(); }
    const std::string& WindowClassName() const { return windowClassName_; }

private:
    void CreateProgramWindow(int32_t width, int32_t height);
    void InitializeSound();
    void InitializeNetwork();
    bool InitializeInput();
    bool InitializeGraphics(int32_t width, int32_t height);

    // QelFrameServices
    void BeginFrame() override;
    void UpdateInput() override;
    void ClearBackBuffer() override;
    void Present() override;
    void EndFrame() override;

    // QelRunPlatform
    bool PumpEvents() override;
    void Sleep(int32_t milliseconds) override;
    void ShowError(const std::string& text) override;

    QelGameLoop& game_;
    GraphicsMaker makeGraphics_;
    const QelWindowSize windowSize_;  // the client size asked for at start-up
    std::string windowClassName_;  // also the window title
    SDL_Window* window_ = nullptr;
    bool sdlStarted_ = false;
    std::unique_ptr<QelSDLGLContext> graphics_;
    std::unique_ptr<QelWindowGraphics> graphicsFactory_;
    std::unique_ptr<QelSDLSoundBase> sound_;
    std::unique_ptr<QelEnetNetworkFactoryBase> network_;
    std::unique_ptr<QelStopSignals> stopSignals_;  // while the window is up
    std::unique_ptr<QelSDLInputBase> input_;
    std::unique_ptr<QelSDLEventTranslator> translator_;
    std::vector<std::string> droppedFiles_;  // UTF-8 paths, oldest first
    bool firstFramePresented_ = false;
};

// The one system object while it is up.
extern GLQELSystemClass* gSystem;
