#pragma once

#include <QObject>
#include <QStringList>

class QSocketNotifier;

// One running program per user and display. The first start listens under a name made of both;
// a later start hands its files to it and ends. A listening name left behind by a killed
// program answers nobody: it is removed, never trusted.
//
// The socket is a plain Unix socket watched by the event loop: the program needs no network
// library, which would load a dozen more at every start.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `key` tells this user's display from any other (see keyOfThisDisplay).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket the program listens on: in the user's runtime folder, named from the user's id
    // and the display's key.
    const QString& name() const { return name_; }

    // Hands `files` (an empty list: only come to the front) to a program already running, and
    // true when it took them; false when none answered, and then this one listens instead
    // (false too when even that failed: this start simply runs alone).
    bool handOver(const QStringList& files);

    // The display this start shows on: X11's or Wayland's display name. Empty without one
    // (offscreen, as tests run): nobody could see which program came to the front, and each
    // such start runs alone, so that runs side by side never meet.
    static QString keyOfThisDisplay();

  signals:
    // A later start handed these files over (possibly none): open them, come to the front.
    void filesHanded(const QStringList& files);

  private:
    void listen();
    void acceptCallers();

    QString name_;
    int listening_ = -1;
    QSocketNotifier* listener_ = nullptr; // a child: it follows the instance to another thread
};
