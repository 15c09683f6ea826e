#pragma once

#include <QSystemTrayIcon>
#include <functional>

class QIcon;
class QMenu;
class QString;

namespace kestrova {

// The mouse actions on the tray icon that the program reacts to.
enum class TrayClick { Left, Double, Right };

// The notification area as the tray icon sees it: put an icon with a tip
// into it, change the tip, take it out, and hear about clicks on it.
// The real one is QtTrayBackend; tests substitute a recorder.
class TrayBackend {
 public:
  using ClickHandler = std::function<void(TrayClick)>;

  virtual ~TrayBackend() = default;

  // Removes any icon shown before, then adds `icon` with the tip `tip`.
  // Returns whether the icon is now present in a notification area: false
  // when the image is empty or the desktop has no notification area.
  virtual bool Show(const QIcon& icon, const QString& tip) = 0;
  // Changes the tip of the icon shown.
  virtual void SetToolTip(const QString& tip) = 0;
  // Takes the icon out of the notification area; harmless when absent.
  virtual void Hide() = 0;
  // The menu that a right click on the icon opens; nullptr for none. The
  // menu is not owned.
  virtual void SetContextMenu(QMenu* menu) = 0;
  // Whether the desktop offers a notification area right now.
  virtual bool Available() const = 0;
  // Shows a passing message from the icon (the desktop's notification
  // service where there is one). Returns whether the desktop took it:
  // false, with nothing shown, where it has no notification area or no
  // way to show messages.
  virtual bool ShowMessage(const QString& title, const QString& text) = 0;

  // Every click on the icon goes to `handler` (replacing the one before).
  void SetClickHandler(ClickHandler handler) { handler_ = std::move(handler); }

 protected:
  // For implementations: hands one click to the handler, if there is one.
  void ReportClick(TrayClick click) const {
    if (handler_) handler_(click);
  }

 private:
  ClickHandler handler_;
};

// The notification area reached through QSystemTrayIcon.
class QtTrayBackend final : public TrayBackend {
 public:
  QtTrayBackend();
  ~QtTrayBackend() override;
  QtTrayBackend(const QtTrayBackend&) = delete;
  QtTrayBackend& operator=(const QtTrayBackend&) = delete;

  bool Show(const QIcon& icon, const QString& tip) override;
  void SetToolTip(const QString& tip) override;
  void Hide() override;
  void SetContextMenu(QMenu* menu) override;
  bool Available() const override;
  bool ShowMessage(const QString& title, const QString& text) override;

 private:
  void OnActivated(QSystemTrayIcon::ActivationReason reason);

  QSystemTrayIcon tray_;
};

}  // namespace kestrova
