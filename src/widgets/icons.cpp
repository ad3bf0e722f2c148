#include "widgets/icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <array>
#include <vector>

// The resources live in a static library: nothing would otherwise pull them in.
static void registerPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace icons {

namespace {
QString pathOf(const QString& name, int size, bool dense)
{
    return QStringLiteral(":/icons/%1-%2%3.png").arg(name).arg(size).arg(dense ? QStringLiteral("@2x") : QString());
}

// Decodes a size's picture when that size is first drawn: at start the toolbar needs
// only its 24 pixels, the menus their 16 later, and each decoding costs start-up time.
class LazyPictures final : public QIconEngine {
public:
    LazyPictures(const char* name, std::initializer_list<int> sizes)
        : m_name(QLatin1String(name))
        , m_sizes(sizes)
    {
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded(size).pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded(rect.size()).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded(size).actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : m_sizes)
            sizes << QSize(size, size);
        return sizes;
    }
    QIconEngine* clone() const override { return new LazyPictures(*this); }
    QString key() const override { return QStringLiteral("ZorivkaPictures"); }

private:
    LazyPictures(const LazyPictures&) = default;

    // The icon with the picture that serves `size`: the smallest at least as large, or the largest.
    const QIcon& loaded(const QSize& wanted)
    {
        const int extent = qMax(wanted.width(), wanted.height());
        int size = m_sizes.back();
        for (int candidate : m_sizes) {
            if (candidate >= extent) {
                size = candidate;
                break;
            }
        }
        if (!m_loaded.contains(size)) {
            registerPictures();
            m_loaded << size;
            // Named as PNG so that no image-format plug-in is loaded to guess the format;
            // pictures drawn at twice the size when the screens need them.
            m_icon.addPixmap(QPixmap(pathOf(m_name, size, false), "PNG"));
            if (qApp->devicePixelRatio() > 1.0)
                m_icon.addPixmap(QPixmap(pathOf(m_name, size, true), "PNG"));
        }
        return m_icon;
    }

    QString m_name;
    std::vector<int> m_sizes; // ascending
    QList<int> m_loaded;
    QIcon m_icon;
};

QIcon fromFiles(const char* name, std::initializer_list<int> sizes)
{
    return QIcon(new LazyPictures(name, sizes));
}
} // namespace

QIcon program()
{
    return fromFiles("program", { 16, 24, 32, 48, 64 });
}

QIcon picture(Picture picture)
{
    static constexpr std::array<const char*, 10> kNames { "new-record", "edit-record", "delete-record",
        "delete-all", "go-to", "search", "settings", "about", "exit", "export" };
    return fromFiles(kNames[static_cast<size_t>(picture)], { 16, 24 });
}

} // namespace icons
