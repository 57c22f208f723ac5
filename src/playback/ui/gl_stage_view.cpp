#include "playback/ui/gl_stage_view.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <cstddef>

namespace lumavo {

namespace {

// A full-window quad; the texture's row 0 is the top of the stage.
const char* const kVertexShader = R"(
attribute vec2 corner;
varying vec2 uv;
void main()
{
    uv = vec2((corner.x + 1.0) * 0.5, (1.0 - corner.y) * 0.5);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";

const char* const kFragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
varying vec2 uv;
uniform sampler2D frame;
void main()
{
    gl_FragColor = vec4(texture2D(frame, uv).rgb, 1.0);
}
)";

constexpr GLfloat kCorners[] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};

#ifndef GL_BGRA
constexpr GLenum GL_BGRA = 0x80E1;
#endif
#ifndef GL_UNPACK_ROW_LENGTH
constexpr GLenum GL_UNPACK_ROW_LENGTH = 0x0CF2;
#endif

GLuint compile(QOpenGLFunctions& gl, GLenum type, const char* source)
{
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint ok = GL_FALSE;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        gl.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

bool platformHasOpenGl()
{
    if (qEnvironmentVariable("LUMAVO_PRESENT") == QStringLiteral("raster"))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QStringLiteral("xcb") || platform.startsWith(QStringLiteral("wayland"));
}

} // namespace

std::unique_ptr<GlStageView> GlStageView::create(QObject& inputTarget)
{
    if (!platformHasOpenGl())
        return nullptr;
    std::unique_ptr<GlStageView> view(new GlStageView(inputTarget));
    if (!view->initialise())
        return nullptr;
    return view;
}

GlStageView::GlStageView(QObject& inputTarget) : target_(inputTarget)
{
    setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat format;
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSwapInterval(1);   // one swap a display frame where the driver synchronises
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    format.setAlphaBufferSize(0);
    setFormat(format);
    setCursor(Qt::BlankCursor);
}

GlStageView::~GlStageView()
{
    if (context_ && context_->makeCurrent(this)) {
        QOpenGLFunctions* gl = context_->functions();
        gl->glDeleteTextures(1, &texture_);
        gl->glDeleteProgram(program_);
        context_->doneCurrent();
    }
}

bool GlStageView::initialise()
{
    QWindow::create();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(requestedFormat());
    // The stage's pixels are uploaded as B,G,R,X rows, which OpenGL ES does not take.
    if (!context_->create() || context_->isOpenGLES() || !context_->makeCurrent(this))
        return false;
    QOpenGLFunctions* gl = context_->functions();
    const GLuint vertex = compile(*gl, GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = compile(*gl, GL_FRAGMENT_SHADER, kFragmentShader);
    if (vertex == 0 || fragment == 0)
        return false;
    program_ = gl->glCreateProgram();
    gl->glAttachShader(program_, vertex);
    gl->glAttachShader(program_, fragment);
    gl->glBindAttribLocation(program_, 0, "corner");
    gl->glLinkProgram(program_);
    gl->glDeleteShader(vertex);
    gl->glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    gl->glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        return false;
    gl->glGenTextures(1, &texture_);
    gl->glBindTexture(GL_TEXTURE_2D, texture_);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return gl->glGetError() == GL_NO_ERROR;
}

bool GlStageView::present(const Bitmap& back, const QRect& region)
{
    if (back.isEmpty() || back.bitsPerPixel() != 32 || !context_->makeCurrent(this))
        return false;
    back_ = &back;
    black_ = false;
    QOpenGLFunctions* gl = context_->functions();
    gl->glBindTexture(GL_TEXTURE_2D, texture_);
    QRect area = region & QRect(0, 0, back.width(), back.height());
    if (textureWidth_ != back.width() || textureHeight_ != back.height()) {
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, back.width(), back.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                         nullptr);
        textureWidth_ = back.width();
        textureHeight_ = back.height();
        area = QRect(0, 0, back.width(), back.height());
    }
    if (!area.isEmpty()) {
        // Only the changed rows and columns travel; the rest of the texture keeps the last frame.
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, back.bytesPerLine() / 4);
        const unsigned char* first = back.scanLine(area.top()) + static_cast<std::ptrdiff_t>(area.left()) * 4;
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, area.left(), area.top(), area.width(), area.height(), GL_BGRA,
                            GL_UNSIGNED_BYTE, first);
        gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    return draw(false);
}

void GlStageView::presentBlack()
{
    black_ = true;
    if (isExposed() && context_->makeCurrent(this))
        draw(true);
}

bool GlStageView::draw(bool black)
{
    QOpenGLFunctions* gl = context_->functions();
    const qreal ratio = devicePixelRatio();
    gl->glViewport(0, 0, qRound(width() * ratio), qRound(height() * ratio));
    if (black || textureWidth_ == 0) {
        gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    } else {
        // The quad covers the whole window: no clear first.
        gl->glUseProgram(program_);
        gl->glActiveTexture(GL_TEXTURE0);
        gl->glBindTexture(GL_TEXTURE_2D, texture_);
        gl->glUniform1i(gl->glGetUniformLocation(program_, "frame"), 0);
        gl->glEnableVertexAttribArray(0);
        gl->glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, kCorners);
        gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        gl->glDisableVertexAttribArray(0);
    }
    context_->swapBuffers(this);
    const bool ok = gl->glGetError() == GL_NO_ERROR;
    shown_ = shown_ || (ok && isExposed());
    return ok;
}

void GlStageView::exposeEvent(QExposeEvent*)
{
    if (!isExposed() || !context_->makeCurrent(this))
        return;
    draw(black_ || back_ == nullptr);
}

void GlStageView::hideEvent(QHideEvent* event)
{
    shown_ = false;
    QWindow::hideEvent(event);
}

bool GlStageView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The stage is the window the operator acts on; this one only shows it.
        return QCoreApplication::sendEvent(&target_, event);
    default:
        return QWindow::event(event);
    }
}

} // namespace lumavo
