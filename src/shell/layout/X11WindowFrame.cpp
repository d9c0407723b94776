#include "X11WindowFrame.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace glintbox {

namespace {

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Reply<T> reply(T *answer)
{
    return Reply<T>(answer, &std::free);
}

class X11WindowFrame final : public WindowFrame, public QAbstractNativeEventFilter {
public:
    X11WindowFrame(QWidget &window, xcb_connection_t *connection);
    ~X11WindowFrame() override;

    std::optional<QMargins> margins() override;
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override;

private:
    enum Atom { FrameExtents, RequestFrameExtents, Supported, SupportingWmCheck, AtomCount };

    void internAtoms();
    QList<xcb_atom_t> windowManagerSupports() const;
    xcb_window_t windowProperty(xcb_window_t window, xcb_atom_t property) const;
    void requestFrame();
    void readFrame();

    QWidget &m_window;
    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_atoms[AtomCount] = {};
    std::optional<QMargins> m_margins;
};

X11WindowFrame::X11WindowFrame(QWidget &window, xcb_connection_t *connection)
    : m_window(window)
    , m_connection(connection)
    , m_root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
{
    internAtoms();
    const QList<xcb_atom_t> supported = windowManagerSupports();
    if (!supported.contains(m_atoms[FrameExtents])) {
        // No window manager, or one that does not tell its frames.
        m_margins = QMargins();
        return;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    if (supported.contains(m_atoms[RequestFrameExtents]))
        requestFrame();
}

X11WindowFrame::~X11WindowFrame()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11WindowFrame::internAtoms()
{
    static const char *const names[AtomCount] = {"_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS",
                                                 "_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK"};
    xcb_intern_atom_cookie_t cookies[AtomCount];
    for (int i = 0; i < AtomCount; ++i)
        cookies[i] = xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(names[i])), names[i]);
    for (int i = 0; i < AtomCount; ++i) {
        if (const auto atom = reply(xcb_intern_atom_reply(m_connection, cookies[i], nullptr)))
            m_atoms[i] = atom->atom;
    }
}

xcb_window_t X11WindowFrame::windowProperty(xcb_window_t window, xcb_atom_t property) const
{
    const auto value = reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!value || value->format != 32 || xcb_get_property_value_length(value.get()) != 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(value.get()));
}

QList<xcb_atom_t> X11WindowFrame::windowManagerSupports() const
{
    // A window manager that runs names a window of its own that names itself;
    // one that has gone may have left the root's half behind.
    const xcb_window_t check = windowProperty(m_root, m_atoms[SupportingWmCheck]);
    if (check == XCB_WINDOW_NONE || windowProperty(check, m_atoms[SupportingWmCheck]) != check)
        return {};
    const auto value = reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_root, m_atoms[Supported], XCB_ATOM_ATOM, 0, 4096),
        nullptr));
    if (!value || value->format != 32)
        return {};
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(value.get()));
    return QList<xcb_atom_t>(atoms, atoms + xcb_get_property_value_length(value.get()) / 4);
}

// Asked before the window is shown, the window manager tells the frame it is
// going to draw: the first placement can then already count it.
void X11WindowFrame::requestFrame()
{
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(m_window.winId());
    message.type = m_atoms[RequestFrameExtents];
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

std::optional<QMargins> X11WindowFrame::margins()
{
    // The answer may be there before its notice has come through.
    if (!m_margins)
        readFrame();
    return m_margins;
}

void X11WindowFrame::readFrame()
{
    const xcb_window_t window = xcb_window_t(m_window.internalWinId());
    if (window == XCB_WINDOW_NONE)
        return;
    const auto value = reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, m_atoms[FrameExtents], XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!value || value->format != 32 || xcb_get_property_value_length(value.get()) != 16)
        return;
    // Left, right, top and bottom, in the screen's pixels.
    const auto *sides = static_cast<const uint32_t *>(xcb_get_property_value(value.get()));
    const qreal ratio = m_window.devicePixelRatioF();
    auto scaled = [ratio](uint32_t side) { return int(qRound(side / ratio)); };
    m_margins = QMargins(scaled(sides[0]), scaled(sides[2]), scaled(sides[1]), scaled(sides[3]));
}

bool X11WindowFrame::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *notify = static_cast<const xcb_property_notify_event_t *>(message);
    // Every notice counts, a frame told again unchanged too: after a restore
    // from maximised it is the sign that the frame is the normal one.
    if (notify->atom == m_atoms[FrameExtents] &&
        notify->window == xcb_window_t(m_window.internalWinId())) {
        readFrame();
        // From the event loop: a placement under way is not entered.
        QMetaObject::invokeMethod(this, &WindowFrame::changed, Qt::QueuedConnection);
    }
    return false;
}

} // namespace

std::unique_ptr<WindowFrame> x11WindowFrame(QWidget &window)
{
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return std::make_unique<X11WindowFrame>(window, x11->connection());
}

} // namespace glintbox
