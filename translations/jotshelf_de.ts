<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AdvancedTab</name>
    <message>
        <source>Performance</source>
        <translation>Leistung</translation>
    </message>
    <message>
        <source>Advanced display and behavior settings</source>
        <translation>Erweiterte Einstellungen für Anzeige und Verhalten</translation>
    </message>
    <message>
        <source>Hide scroll indicators</source>
        <translation>Bildlaufleiste ausblenden</translation>
    </message>
    <message>
        <source>Reduce motion effects</source>
        <translation>Bewegungseffekte reduzieren</translation>
    </message>
    <message>
        <source>High contrast mode</source>
        <translation>Hoher Kontrast</translation>
    </message>
    <message>
        <source>Hides the notepad&apos;s scroll bar</source>
        <translation>Blendet die Bildlaufleiste des Notizblocks aus</translation>
    </message>
    <message>
        <source>Shows and hides the notepad at once, without sliding</source>
        <translation>Zeigt und verbirgt den Notizblock sofort, ohne ihn ein- und auszuschieben</translation>
    </message>
    <message>
        <source>Draws the notepad&apos;s text bold, with a wider cursor and a yellow selection</source>
        <translation>Zeigt den Text des Notizblocks fett, mit breiterer Schreibmarke und gelber Auswahl</translation>
    </message>
    <message>
        <source>Data Management</source>
        <translation>Datenverwaltung</translation>
    </message>
    <message>
        <source>Manage stored content and preferences</source>
        <translation>Gespeicherte Inhalte und Einstellungen verwalten</translation>
    </message>
    <message>
        <source>Export Notes</source>
        <translation>Notizen exportieren</translation>
    </message>
    <message>
        <source>Clear All Data</source>
        <translation>Alle Daten löschen</translation>
    </message>
    <message>
        <source>Saves the note as a text file</source>
        <translation>Speichert die Notiz als Textdatei</translation>
    </message>
    <message>
        <source>Deletes the note and resets every setting, after asking you</source>
        <translation>Löscht nach einer Rückfrage die Notiz und setzt alle Einstellungen zurück</translation>
    </message>
    <message>
        <source>Debug Information</source>
        <translation>Debug-Informationen</translation>
    </message>
    <message>
        <source>Current application state</source>
        <translation>Aktueller Zustand der Anwendung</translation>
    </message>
    <message>
        <source>Window Size</source>
        <translation>Fenstergröße</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Deckkraft</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Ränder</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Text Length</source>
        <translation>Textlänge</translation>
    </message>
    <message>
        <source>%1 chars</source>
        <translation>%1 Zeichen</translation>
    </message>
</context>
<context>
    <name>AppearanceTab</name>
    <message>
        <source>Window Size</source>
        <translation>Fenstergröße</translation>
    </message>
    <message>
        <source>Changes apply immediately to open window</source>
        <translation>Änderungen gelten sofort für das offene Fenster</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Sets the notepad&apos;s width</source>
        <translation>Legt die Breite des Notizblocks fest</translation>
    </message>
    <message>
        <source>Sets the notepad&apos;s height</source>
        <translation>Legt die Höhe des Notizblocks fest</translation>
    </message>
    <message>
        <source>Transparency</source>
        <translation>Transparenz</translation>
    </message>
    <message>
        <source>Adjust window opacity for better desktop integration</source>
        <translation>Deckkraft des Fensters für eine bessere Einbindung in den Desktop anpassen</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Deckkraft</translation>
    </message>
    <message>
        <source>Sets how opaque the notepad is</source>
        <translation>Legt fest, wie deckend der Notizblock ist</translation>
    </message>
    <message>
        <source>Text Margins</source>
        <translation>Textränder</translation>
    </message>
    <message>
        <source>Control padding around text content</source>
        <translation>Abstand rund um den Text festlegen</translation>
    </message>
    <message>
        <source>Use manual margins</source>
        <translation>Ränder von Hand festlegen</translation>
    </message>
    <message>
        <source>Sets the text margins by hand instead of from the notepad&apos;s width</source>
        <translation>Legt die Textränder von Hand fest statt nach der Breite des Notizblocks</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Ränder</translation>
    </message>
    <message>
        <source>Sets the space between the text and the notepad&apos;s edges</source>
        <translation>Legt den Abstand zwischen dem Text und den Kanten des Notizblocks fest</translation>
    </message>
    <message>
        <source>Current margins:</source>
        <translation>Aktuelle Ränder:</translation>
    </message>
    <message>
        <source>Auto: log(width/300) × 10 + 20</source>
        <translation>Automatisch: log(Breite/300) × 10 + 20</translation>
    </message>
    <message>
        <source>Margins automatically increase as window gets wider for better readability</source>
        <translation>Die Ränder wachsen mit der Fensterbreite, damit der Text gut lesbar bleibt</translation>
    </message>
    <message>
        <source>Text Colors</source>
        <translation>Textfarben</translation>
    </message>
    <message>
        <source>Customize background and text colors</source>
        <translation>Hintergrund- und Textfarbe anpassen</translation>
    </message>
    <message>
        <source>Use custom colors</source>
        <translation>Eigene Farben verwenden</translation>
    </message>
    <message>
        <source>Draws the notepad in the two colors below</source>
        <translation>Zeigt den Notizblock in den beiden Farben darunter</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Opens a color chooser for the notepad&apos;s background</source>
        <translation>Öffnet eine Farbauswahl für den Hintergrund des Notizblocks</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Opens a color chooser for the notepad&apos;s text</source>
        <translation>Öffnet eine Farbauswahl für den Text des Notizblocks</translation>
    </message>
    <message>
        <source>Background:</source>
        <translation>Hintergrund:</translation>
    </message>
    <message>
        <source>Text Color:</source>
        <translation>Textfarbe:</translation>
    </message>
</context>
<context>
    <name>BehaviorTab</name>
    <message>
        <source>Text Formatting</source>
        <translation>Textformatierung</translation>
    </message>
    <message>
        <source>Automatic formatting while typing</source>
        <translation>Automatische Formatierung beim Schreiben</translation>
    </message>
    <message>
        <source>Auto-format bullets (• → • )</source>
        <translation>Aufzählungspunkte fortsetzen (• → • )</translation>
    </message>
    <message>
        <source>Auto-format numbers (1. → 2. )</source>
        <translation>Nummerierung fortsetzen (1. → 2. )</translation>
    </message>
    <message>
        <source>Auto-format dashes (- → - )</source>
        <translation>Spiegelstriche fortsetzen (- → - )</translation>
    </message>
    <message>
        <source>Smart link insertion (Ctrl+K)</source>
        <translation>Intelligentes Einfügen von Links (Strg+K)</translation>
    </message>
    <message>
        <source>Continues a bulleted list when you press Return after an item</source>
        <translation>Setzt eine Aufzählung fort, wenn Sie nach einem Eintrag die Eingabetaste drücken</translation>
    </message>
    <message>
        <source>Continues a numbered list with the next number when you press Return</source>
        <translation>Setzt eine nummerierte Liste mit der nächsten Zahl fort, wenn Sie die Eingabetaste drücken</translation>
    </message>
    <message>
        <source>Continues a list of dashes when you press Return after an item</source>
        <translation>Setzt eine Liste mit Spiegelstrichen fort, wenn Sie nach einem Eintrag die Eingabetaste drücken</translation>
    </message>
    <message>
        <source>Ctrl+K in the notepad opens a dialog that adds a link</source>
        <translation>Strg+K öffnet im Notizblock einen Dialog, der einen Link hinzufügt</translation>
    </message>
    <message>
        <source>Global Hotkey</source>
        <translation>Globales Tastenkürzel</translation>
    </message>
    <message>
        <source>Show/hide notepad from anywhere</source>
        <translation>Notizblock von überall aus zeigen und verbergen</translation>
    </message>
    <message>
        <source>Current hotkey:</source>
        <translation>Aktuelles Tastenkürzel:</translation>
    </message>
    <message>
        <source>Alt plus backtick</source>
        <translation>Alt plus Gravis</translation>
    </message>
    <message>
        <source>The key that shows and hides the notepad from any application</source>
        <translation>Das Tastenkürzel, das den Notizblock aus jeder Anwendung heraus zeigt und verbirgt</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>The hot key cannot be changed</source>
        <translation>Das Tastenkürzel lässt sich nicht ändern</translation>
    </message>
</context>
<context>
    <name>BorderlessWindow</name>
    <message>
        <source>Notepad</source>
        <translation>Notizblock</translation>
    </message>
</context>
<context>
    <name>ColorWell</name>
    <message>
        <source>black</source>
        <translation>schwarz</translation>
    </message>
    <message>
        <source>white</source>
        <translation>weiß</translation>
    </message>
    <message>
        <source>dark grey</source>
        <translation>dunkelgrau</translation>
    </message>
    <message>
        <source>light grey</source>
        <translation>hellgrau</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>grau</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rot</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>gelb</translation>
    </message>
    <message>
        <source>green</source>
        <translation>grün</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>türkis</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>blau</translation>
    </message>
    <message>
        <source>purple</source>
        <translation>violett</translation>
    </message>
    <message>
        <source>pink</source>
        <translation>rosa</translation>
    </message>
    <message>
        <source>dark %1</source>
        <comment>a colour: dark red</comment>
        <translation>dunkel%1</translation>
    </message>
    <message>
        <source>light %1</source>
        <comment>a colour: light blue</comment>
        <translation>hell%1</translation>
    </message>
    <message>
        <source>, %1% opaque</source>
        <translation>, zu %1 % deckend</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Farbe wählen</translation>
    </message>
</context>
<context>
    <name>DataCommands</name>
    <message>
        <source>Export Failed</source>
        <translation>Export fehlgeschlagen</translation>
    </message>
    <message>
        <source>The notes could not be written to &quot;%1&quot;: %2</source>
        <translation>Die Notizen konnten nicht in „%1“ geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>Clear All Data</source>
        <translation>Alle Daten löschen</translation>
    </message>
    <message>
        <source>Clear All Data?</source>
        <translation>Alle Daten löschen?</translation>
    </message>
    <message>
        <source>This will permanently delete all notes and reset settings to defaults. This action cannot be undone.</source>
        <translation>Dadurch werden alle Notizen endgültig gelöscht und die Einstellungen auf ihre Standardwerte zurückgesetzt. Dies lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle löschen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Export Notes</source>
        <translation>Notizen exportieren</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Deletes the note and resets every setting; cannot be undone</source>
        <translation>Löscht die Notiz und setzt alle Einstellungen zurück; lässt sich nicht rückgängig machen</translation>
    </message>
</context>
<context>
    <name>DrawerPositions</name>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
</context>
<context>
    <name>DrawerView</name>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Your note; it is saved by itself as you type. Ctrl+K adds a link</source>
        <translation>Ihre Notiz; sie wird beim Schreiben von selbst gespeichert. Strg+K fügt einen Link hinzu</translation>
    </message>
    <message>
        <source>Link not opened</source>
        <translation>Link nicht geöffnet</translation>
    </message>
    <message>
        <source>The note is full</source>
        <translation>Die Notiz ist voll</translation>
    </message>
</context>
<context>
    <name>GlobalHotkey</name>
    <message>
        <source>in System Settings → Shortcuts → Add New → Command or Script… (or, if KWin keeps %1, clear it there under KWin and give it to Jotshelf&apos;s &quot;Show or hide the Jotshelf notepad&quot;)</source>
        <translation>unter Systemeinstellungen → Kurzbefehle → Neu hinzufügen → Befehl oder Skript … (oder, falls KWin %1 belegt, es dort unter KWin freigeben und Jotshelfs „Den Jotshelf-Notizblock zeigen oder verbergen“ zuweisen)</translation>
    </message>
    <message>
        <source>in Settings → Keyboard → View and Customize Shortcuts → Custom Shortcuts</source>
        <translation>unter Einstellungen → Tastatur → Tastenkombinationen anzeigen und anpassen → Eigene Tastenkombinationen</translation>
    </message>
    <message>
        <source>in Settings → Keyboard → Application Shortcuts → Add</source>
        <translation>unter Einstellungen → Tastatur → Tastenkürzel für Anwendungen → Hinzufügen</translation>
    </message>
    <message>
        <source>in System Settings → Keyboard → Shortcuts → Custom Shortcuts</source>
        <translation>unter Systemeinstellungen → Tastatur → Tastaturkürzel → Benutzerdefinierte Tastaturkürzel</translation>
    </message>
    <message>
        <source>in Control Center → Keyboard Shortcuts → Add</source>
        <translation>unter Kontrollzentrum → Tastenkombinationen → Hinzufügen</translation>
    </message>
    <message>
        <source>in LXQt Configuration Center → Shortcut Keys → Add</source>
        <translation>unter LXQt-Konfigurationszentrum → Tastenkürzel → Hinzufügen</translation>
    </message>
    <message>
        <source>in your desktop&apos;s keyboard settings (the README shows how)</source>
        <translation>in den Tastatureinstellungen Ihres Desktops (die README-Datei zeigt, wie)</translation>
    </message>
    <message>
        <source>Another program or the desktop keeps %1 for itself.</source>
        <translation>Ein anderes Programm oder der Desktop belegt %1 selbst.</translation>
    </message>
    <message>
        <source>This desktop cannot register %1.</source>
        <translation>Dieser Desktop kann %1 nicht registrieren.</translation>
    </message>
    <message>
        <source>This desktop offers no way to register a global key.</source>
        <translation>Dieser Desktop bietet keinen Weg, ein globales Tastenkürzel zu registrieren.</translation>
    </message>
    <message>
        <source>The desktop refused the global key.</source>
        <translation>Der Desktop hat das globale Tastenkürzel abgelehnt.</translation>
    </message>
    <message>
        <source>The desktop did not answer the request for the global key.</source>
        <translation>Der Desktop hat auf die Anfrage nach dem globalen Tastenkürzel nicht geantwortet.</translation>
    </message>
    <message>
        <source>The desktop failed to register the global key.</source>
        <translation>Der Desktop konnte das globale Tastenkürzel nicht registrieren.</translation>
    </message>
    <message>
        <source>%1 is not available</source>
        <translation>%1 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Jotshelf could not register %1. %2 To show and hide the notepad from the keyboard, bind the command &quot;jotshelf --toggle&quot; to a key %3.</source>
        <translation>Jotshelf konnte %1 nicht registrieren. %2 Um den Notizblock mit der Tastatur zu zeigen und zu verbergen, legen Sie den Befehl „jotshelf --toggle“ %3 auf eine Taste.</translation>
    </message>
</context>
<context>
    <name>JotshelfApp</name>
    <message>
        <source>Notepad</source>
        <translation>Notizblock</translation>
    </message>
    <message>
        <source>Show Notepad</source>
        <translation>Notizblock zeigen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Default Position</source>
        <translation>Standardposition</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>LinkDialogView</name>
    <message>
        <source>Add Link</source>
        <translation>Link hinzufügen</translation>
    </message>
    <message>
        <source>Enter link text</source>
        <translation>Linktext eingeben</translation>
    </message>
    <message>
        <source>Enter URL</source>
        <translation>URL eingeben</translation>
    </message>
    <message>
        <source>Link Text</source>
        <translation>Linktext</translation>
    </message>
    <message>
        <source>The words the link shows</source>
        <translation>Die Wörter, die der Link zeigt</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>The address the link points to</source>
        <translation>Die Adresse, auf die der Link verweist</translation>
    </message>
    <message>
        <source>Link Text:</source>
        <translation>Linktext:</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Closes the dialog without changing the note (Escape)</source>
        <translation>Schließt den Dialog, ohne die Notiz zu ändern (Esc)</translation>
    </message>
    <message>
        <source>Adds the link at the end of the note (Return)</source>
        <translation>Fügt den Link am Ende der Notiz ein (Eingabe)</translation>
    </message>
</context>
<context>
    <name>Persistence</name>
    <message>
        <source>%1 could not be read (%2). Jotshelf started with what it could read and the defaults for the rest.</source>
        <translation>%1 konnte nicht gelesen werden (%2). Jotshelf wurde mit dem Lesbaren und für den Rest mit den Standardwerten gestartet.</translation>
    </message>
    <message>
        <source>%1 could not be read (%2). Jotshelf started with what it could read and the defaults for the rest; the original is kept as %3.</source>
        <translation>%1 konnte nicht gelesen werden (%2). Jotshelf wurde mit dem Lesbaren und für den Rest mit den Standardwerten gestartet; das Original ist als %3 aufbewahrt.</translation>
    </message>
    <message>
        <source>Settings could not be read</source>
        <translation>Die Einstellungen konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>Your note is not saved</source>
        <translation>Ihre Notiz ist nicht gespeichert</translation>
    </message>
    <message>
        <source>Jotshelf could not write %1: %2. The note is kept in memory and Jotshelf tries again with every change.</source>
        <translation>Jotshelf konnte %1 nicht schreiben: %2. Die Notiz bleibt im Speicher, und Jotshelf versucht es bei jeder Änderung erneut.</translation>
    </message>
</context>
<context>
    <name>PortalHotkeyBackend</name>
    <message>
        <source>Show or hide the Jotshelf notepad</source>
        <translation>Den Jotshelf-Notizblock zeigen oder verbergen</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Closes the settings window</source>
        <translation>Schließt das Einstellungsfenster</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Verhalten</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Shows the %1 settings</source>
        <translation>Zeigt die Einstellungen „%1“</translation>
    </message>
    <message>
        <source>Reset to Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Puts every setting back to its initial value at once</source>
        <translation>Setzt alle Einstellungen auf einmal auf ihre Anfangswerte zurück</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Closes the settings window (Return)</source>
        <translation>Schließt das Einstellungsfenster (Eingabetaste)</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Einstellungsseiten</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Jotshelf Settings</source>
        <translation>Jotshelf-Einstellungen</translation>
    </message>
</context>
<context>
    <name>SliderRow</name>
    <message>
        <source>pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>percent</source>
        <translation>Prozent</translation>
    </message>
</context>
</TS>
