<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de">
<context>
    <name>AnalysisJson</name>
    <message>
        <source>Die Messung hat keinen Kanal %1 (Kanäle 0 bis %2).</source>
        <translation>The measurement has no channel %1 (channels 0 to %2).</translation>
    </message>
</context>
<context>
    <name>DeviceFunctions</name>
    <message>
        <source>Datei %1 nicht gefunden</source>
        <translation>File %1 not found</translation>
    </message>
    <message>
        <source>Verify Error :%1
</source>
        <translation>Verify Error :%1
</translation>
    </message>
    <message>
        <source>Datei %1 ist größer als der Gerätespeicher (%2 Bytes)</source>
        <translation>File %1 is larger than the device memory (%2 bytes)</translation>
    </message>
    <message>
        <source>Download OK
</source>
        <translation>Download OK
</translation>
    </message>
    <message>
        <source>Download Verify Error :%1
</source>
        <translation>Download Verify Error :%1
</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>GlobalUnit</name>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Ungültige Fließkommazahl eingegeben!</source>
        <translation>Invalid floating-point number entered!</translation>
    </message>
    <message>
        <source>Wenn Sie dieses Fenster schließen, gehen Ihre Änderungen verloren.
Wollen Sie dennoch fortfahren und Ihre Änderungen verwerfen?</source>
        <translation>If you close this window, your changes will be lost.
Do you want to continue anyway and discard your changes?</translation>
    </message>
    <message>
        <source>Fehler beim Drucken</source>
        <translation>Printing Error</translation>
    </message>
    <message>
        <source>Fehler beim Drucken. LL-Fehlercode=%1 (%2). </source>
        <translation>Error while printing. LL error code=%1 (%2). </translation>
    </message>
</context>
<context>
    <name>IntelHex</name>
    <message>
        <source>Datei %1, Zeile %2: kein gültiger Intel-HEX-Datensatz</source>
        <translation>File %1, line %2: not a valid Intel HEX record</translation>
    </message>
    <message>
        <source>Datei %1, Zeile %2: Prüfsumme falsch</source>
        <translation>File %1, line %2: wrong checksum</translation>
    </message>
    <message>
        <source>Datei %1, Zeile %2: Adresse %3 liegt außerhalb des Gerätespeichers (0000 bis %4)</source>
        <translation>File %1, line %2: address %3 lies outside the device memory (0000 to %4)</translation>
    </message>
    <message>
        <source>Datei %1, Zeile %2: Adresse liegt außerhalb des Gerätespeichers</source>
        <translation>File %1, line %2: address lies outside the device memory</translation>
    </message>
    <message>
        <source>Datei %1 endet ohne Ende-Datensatz</source>
        <translation>File %1 ends without an end-of-file record</translation>
    </message>
</context>
<context>
    <name>Languages</name>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Bitte wählen Sie die Sprache der Benutzeroberfläche:</source>
        <translation>Please choose the language of the user interface:</translation>
    </message>
</context>
<context>
    <name>MeasurementProtection</name>
    <message>
        <source>Passwort eingeben</source>
        <translation>Enter Password</translation>
    </message>
    <message>
        <source>Bitte Master-Passwort eingeben:</source>
        <translation>Please enter the master password:</translation>
    </message>
    <message>
        <source>Bitte geben Sie ein neues Passwort für die Messung ein:</source>
        <translation>Please enter a new password for the measurement:</translation>
    </message>
    <message>
        <source>Wollen Sie die markierte Messreihe wirklich löschen?</source>
        <translation>Do you really want to delete the selected curve?</translation>
    </message>
    <message>
        <source>Bitte geben Sie das gültige Passwort ein:</source>
        <translation>Please enter the correct password:</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Das alte Hauptkennwort ist nicht korrekt!</source>
        <translation>The old master password is not correct!</translation>
    </message>
    <message>
        <source>Die beiden eingegebenen neuen Passwörter stimmen nicht überein!</source>
        <translation>The two new passwords you entered do not match!</translation>
    </message>
    <message>
        <source>Das Hauptkennwort wurde erfolgreich geändert!</source>
        <translation>The master password has been changed successfully!</translation>
    </message>
</context>
<context>
    <name>MessungJson</name>
    <message>
        <source>&quot;%1&quot; muss eine ganze Zahl von %2 bis %3 sein.</source>
        <translation>&quot;%1&quot; must be an integer from %2 to %3.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; muss ein Text sein.</source>
        <translation>&quot;%1&quot; must be a string.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; muss eine Liste sein.</source>
        <translation>&quot;%1&quot; must be an array.</translation>
    </message>
    <message>
        <source>Kein gültiges JSON (Zeichen %1): %2</source>
        <translation>Not valid JSON (character %1): %2</translation>
    </message>
    <message>
        <source>Das JSON muss ein Objekt sein.</source>
        <translation>The JSON must be an object.</translation>
    </message>
    <message>
        <source>Die Messung ist geschützt; ihr Passwort steht nicht im JSON.</source>
        <translation>The measurement is protected; its password is not in the JSON.</translation>
    </message>
    <message>
        <source>&quot;StartTime&quot; ist kein Datum nach ISO 8601.</source>
        <translation>&quot;StartTime&quot; is not an ISO 8601 date.</translation>
    </message>
    <message>
        <source>&quot;StartTimeOle&quot; oder &quot;StartTime&quot; fehlt.</source>
        <translation>&quot;StartTimeOle&quot; or &quot;StartTime&quot; is missing.</translation>
    </message>
    <message>
        <source>Mehr als %1 Kanäle.</source>
        <translation>More than %1 channels.</translation>
    </message>
    <message>
        <source>Mehr als %1 Markierungen.</source>
        <translation>More than %1 markers.</translation>
    </message>
    <message>
        <source>Die Anzahl der Kanäle wurde nicht geändert.</source>
        <translation>The number of channels was not changed.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; muss ein Objekt sein.</source>
        <translation>&quot;%1&quot; must be an object.</translation>
    </message>
    <message>
        <source>&quot;Rows[%1]&quot; muss eine Liste aus %2 Zahlen sein (Zeit und ein Wert je Kanal).</source>
        <translation>&quot;Rows[%1]&quot; must be an array of %2 numbers (the time and one value per channel).</translation>
    </message>
</context>
<context>
    <name>TAcquisition</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Kanal %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Dauermessung aktiv</source>
        <translation>Continuous measurement running</translation>
    </message>
    <message>
        <source>Messung über %1 Sekunden aktiv</source>
        <translation>Measurement running for %1 seconds</translation>
    </message>
    <message>
        <source>Es läuft bereits eine Messung. Bitte stoppen Sie diese zuerst.</source>
        <translation>A measurement is already running. Please stop it first.</translation>
    </message>
    <message>
        <source>Messung kann nicht gestartet werden, da ein ungültiger Zolt-Typ ausgewählt ist!</source>
        <translation>The measurement cannot be started because an invalid Zolt type is selected!</translation>
    </message>
    <message>
        <source>Messung kann nicht gestartet werden, da ein ungültiger Zolt-Modus ausgewählt ist!</source>
        <translation>The measurement cannot be started because an invalid Zolt mode is selected!</translation>
    </message>
    <message>
        <source>Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!</source>
        <translation>The selected Zolt type does not support memory measurements!</translation>
    </message>
    <message>
        <source>Messung kann nicht gestoppt werden, da keine Messhardware initialisiert ist.</source>
        <translation>The measurement cannot be stopped because no measuring hardware is initialized.</translation>
    </message>
</context>
<context>
    <name>TAnalyseInfo</name>
    <message>
        <source>Analyse-Definition (*.adef)</source>
        <translation>Analysis definition (*.adef)</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; kann nicht gelesen werden.
%2</source>
        <translation>The file &quot;%1&quot; cannot be read.
%2</translation>
    </message>
    <message>
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Die aktuelle Analyse enthält bereits Bereichsdefinitionen.
Möchten Sie die neuen Definitionen an die vorhandene Liste anhängen?</source>
        <translation>The current analysis already contains range definitions.
Do you want to append the new definitions to the existing list?</translation>
    </message>
    <message>
        <source>Die Analysedefinition enthält keine Daten, die gespeichert werden können.</source>
        <translation>The analysis definition contains no data that could be saved.</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; kann nicht geschrieben werden.
%2</source>
        <translation>The file &quot;%1&quot; cannot be written.
%2</translation>
    </message>
    <message>
        <source>%1 s [%2 .. %3]</source>
        <translation>%1 s [%2 .. %3]</translation>
    </message>
    <message>
        <source> [%1 s]</source>
        <translation> [%1 s]</translation>
    </message>
    <message>
        <source>%1 °C bei %2 s</source>
        <translation>%1 °C at %2 s</translation>
    </message>
    <message>
        <source>%1 °C/s bei %2 s</source>
        <translation>%1 °C/s at %2 s</translation>
    </message>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
</context>
<context>
    <name>TExtractRefForm</name>
    <message>
        <source>Referenz exrahieren</source>
        <translation>Extract Reference</translation>
    </message>
    <message>
        <source>Bitte Kanal auswählen:</source>
        <translation>Please select a channel:</translation>
    </message>
    <message>
        <source>Bitte Standard-Toleranz auswählen:</source>
        <translation>Please select the default tolerance:</translation>
    </message>
    <message>
        <source>5,0</source>
        <translation type="vanished">5,0</translation>
    </message>
    <message>
        <source>°C</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>Übernehmen</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Zolt-Dateien (*.zolt);;Alle Dateien (*)</source>
        <translation>Zolt files (*.zolt);;All files (*)</translation>
    </message>
    <message>
        <source>Referenz-Dateien (*.mref);;Alle Dateien (*)</source>
        <translation>Reference files (*.mref);;All files (*)</translation>
    </message>
    <message>
        <source>Neue Messung</source>
        <translation>New Measurement</translation>
    </message>
    <message>
        <source>Messung laden</source>
        <translation>Open Measurement</translation>
    </message>
    <message>
        <source>Messung vorbereiten</source>
        <translation>Prepare Measurement</translation>
    </message>
    <message>
        <source>Messung starten</source>
        <translation>Start Measurement</translation>
    </message>
    <message>
        <source>Messung stoppen</source>
        <translation>Stop Measurement</translation>
    </message>
    <message>
        <source>Messung speichern</source>
        <translation>Save Measurement</translation>
    </message>
    <message>
        <source>Messung speichern als</source>
        <translation>Save Measurement As</translation>
    </message>
    <message>
        <source>Messung schließen</source>
        <translation>Close Measurement</translation>
    </message>
    <message>
        <source>Messung löschen</source>
        <translation>Delete Measurement</translation>
    </message>
    <message>
        <source>Messung leeren</source>
        <translation>Clear Measurement</translation>
    </message>
    <message>
        <source>Neue Referenz</source>
        <translation>New Reference</translation>
    </message>
    <message>
        <source>Referenz öffnen</source>
        <translation>Open Reference</translation>
    </message>
    <message>
        <source>Referenz speichern</source>
        <translation>Save Reference</translation>
    </message>
    <message>
        <source>Referenz speichern als</source>
        <translation>Save Reference As</translation>
    </message>
    <message>
        <source>Referenz löschen</source>
        <translation>Delete Reference</translation>
    </message>
    <message>
        <source>Referenz schließen</source>
        <translation>Close Reference</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Laden</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>&amp;Zolt</source>
        <translation>&amp;Zolt</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Modus</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>&amp;Extras</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Messung</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Speichern als</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Programm beenden</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>USB-Zolt 318.10</source>
        <translation>USB-Zolt 318.10</translation>
    </message>
    <message>
        <source>USB-Zolt 318.14</source>
        <translation>USB-Zolt 318.14</translation>
    </message>
    <message>
        <source>Serielles Zolt-Modell</source>
        <translation>Serial Zolt Model</translation>
    </message>
    <message>
        <source>Online-Messung</source>
        <translation>Online Measurement</translation>
    </message>
    <message>
        <source>Speicher auslesen</source>
        <translation>Read Out Memory</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Über Trelwin</source>
        <translation>About Trelwin</translation>
    </message>
    <message>
        <source>Trelwin Zolt für Linux</source>
        <translation>Trelwin Zolt for Linux</translation>
    </message>
    <message>
        <source>Zolt.html</source>
        <translation>Zolt_en.html</translation>
    </message>
    <message>
        <source>Soll die aktuelle Messung wirklich geschlossen und gelöscht werden?</source>
        <translation>Do you really want to close and delete the current measurement?</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Datei &quot;%1&quot; konnte nicht gelöscht werden!</source>
        <translation>The file &quot;%1&quot; could not be deleted!</translation>
    </message>
    <message>
        <source>Wollen Sie die Messwerte der aktuellen Messung wirklich leeren?</source>
        <translation>Do you really want to clear the measured values of the current measurement?</translation>
    </message>
    <message>
        <source>Wenn Sie die Referenz jetzt schießen, gehen Ihre Änderungen verloren.
Wollen Sie die Referenz dennoch schließen?</source>
        <translation>If you close the reference now, your changes will be lost.
Do you still want to close the reference?</translation>
    </message>
    <message>
        <source>Soll die aktuelle Referenz wirklich geschlossen und gelöscht werden?</source>
        <translation>Do you really want to close and delete the current reference?</translation>
    </message>
    <message>
        <source>Keine alternativen Sprach-Resourcen gefunden!</source>
        <translation>No alternative language resources found!</translation>
    </message>
    <message>
        <source>Zum Umschalten der Sprache müssen alle offenen Register geschlossen werden (Messungen, Referenzen etc.)
Sollen die Register jetzt geschlossen und die Sprache umgeschaltet werden?</source>
        <translation>To switch the language, all open tabs (measurements, references etc.) must be closed.
Do you want to close the tabs now and switch the language?</translation>
    </message>
    <message>
        <source>Trelwin GmbH
Mess- und Regeltechnik für die Wärmebehandlung
Industriestraße 12
75179 Pforzheim

Tel.: +49 7231 0000-0
Fax: +49 7231 0000-99
eMail: info@trelwin.example</source>
        <translation>Trelwin GmbH
Measurement and control engineering for heat treatment
Industriestraße 12
75179 Pforzheim, Germany

Phone: +49 7231 0000-0
Fax: +49 7231 0000-99
Email: info@trelwin.example</translation>
    </message>
    <message>
        <source>Referezkurve extrahieren</source>
        <translation>Extract Reference Curve</translation>
    </message>
</context>
<context>
    <name>TMessungFrame</name>
    <message>
        <source>Diagramm</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Daten</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Zeitfenster: [%1 s]</source>
        <translation>Time window: [%1 s]</translation>
    </message>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>Eine neue Messung überschreibt die Werte der aktuellen Messung.
Wollen sie jetzt eine neue Messung starten?</source>
        <translation>A new measurement overwrites the values of the current measurement.
Do you want to start a new measurement now?</translation>
    </message>
    <message>
        <source>Speicher-Messung vorbereiten</source>
        <translation type="vanished">Prepare memory measurement</translation>
    </message>
    <message>
        <source>Messung starten/auslesen</source>
        <translation>Start measurement/read out memory</translation>
    </message>
    <message>
        <source>Messung stoppen</source>
        <translation>Stop measurement</translation>
    </message>
    <message>
        <source>Messwerte leeren</source>
        <translation>Clear measured values</translation>
    </message>
    <message>
        <source>Messung laden</source>
        <translation>Open measurement</translation>
    </message>
    <message>
        <source>Messung speichern</source>
        <translation>Save measurement</translation>
    </message>
    <message>
        <source>Messung speichern als</source>
        <translation>Save measurement as</translation>
    </message>
    <message>
        <source>Autom. Skalierung</source>
        <translation>Automatic scaling</translation>
    </message>
    <message>
        <source>Messung interpolieren (Kurve glätten)</source>
        <translation>Interpolate measurement (smooth the curve)</translation>
    </message>
    <message>
        <source>Analyse vorbereiten</source>
        <translation>Set up analysis</translation>
    </message>
    <message>
        <source>Analyse der Messkurve durchführen</source>
        <translation>Analyze the measured curve</translation>
    </message>
    <message>
        <source>Zeit [s]</source>
        <translation>Time [s]</translation>
    </message>
    <message>
        <source>Temperatur [°C]</source>
        <translation>Temperature [°C]</translation>
    </message>
    <message>
        <source>Legende:</source>
        <translation>Legend:</translation>
    </message>
    <message>
        <source>10 sek.</source>
        <translation>10 sec.</translation>
    </message>
    <message>
        <source>5 min.</source>
        <translation>5 min.</translation>
    </message>
    <message>
        <source>Temp. beginnt  bei  0 °C</source>
        <translation>Temp. starts at 0 °C</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Analyse-Kanal:</source>
        <translation>Analysis channel:</translation>
    </message>
    <message>
        <source>Maximale Temperatur:</source>
        <translation>Maximum temperature:</translation>
    </message>
    <message>
        <source>Maximale pos. Steigung:</source>
        <translation>Steepest rise:</translation>
    </message>
    <message>
        <source>Maximale neg. Steigung:</source>
        <translation>Steepest fall:</translation>
    </message>
    <message>
        <source>Temperaturbereiche:</source>
        <translation>Temperature ranges:</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Farbe ändern</source>
        <translation>Change Color</translation>
    </message>
    <message>
        <source>Messreihe löschen</source>
        <translation>Delete Curve</translation>
    </message>
    <message>
        <source>Datum Messung:</source>
        <translation>Measurement date:</translation>
    </message>
    <message>
        <source>Messungsstart:</source>
        <translation>Measurement start:</translation>
    </message>
    <message>
        <source>Messungsname:</source>
        <translation>Measurement name:</translation>
    </message>
    <message>
        <source>Gemessen durch:</source>
        <translation>Measured by:</translation>
    </message>
    <message>
        <source>Messungsbeschreibung:</source>
        <translation>Measurement description:</translation>
    </message>
    <message>
        <source>Wollen Sie die markierte Messreihe wirklich löschen?</source>
        <translation type="vanished">Do you really want to delete the selected curve?</translation>
    </message>
    <message>
        <source>Passwort eingeben</source>
        <translation type="vanished">Enter Password</translation>
    </message>
    <message>
        <source>Bitte geben Sie das gültige Passwort ein:</source>
        <translation type="vanished">Please enter the correct password:</translation>
    </message>
    <message>
        <source>Umbennen</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Geben Sie den neuen Kanal-Namen ein:</source>
        <translation>Enter the new channel name:</translation>
    </message>
    <message>
        <source>Referenz anzeigen</source>
        <translation>Show reference</translation>
    </message>
    <message>
        <source>Referenz auswählen</source>
        <translation>Select reference</translation>
    </message>
    <message>
        <source>Referenz aus Kurve extrahieren</source>
        <translation>Extract reference from curve</translation>
    </message>
    <message>
        <source>Die Messung enthält keine Kanäle, die als Referenz extrahiert werden können.</source>
        <translation>The measurement contains no channels that could be extracted as a reference.</translation>
    </message>
    <message>
        <source>Messung schützen</source>
        <translation>Protect Measurement</translation>
    </message>
</context>
<context>
    <name>TMessungInfo</name>
    <message>
        <source>Zolt-Dateien (*.zolt)|*.zolt|Alle Dateien (*.*)|*.*</source>
        <translation>Zolt files (*.zolt)|*.zolt|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Referenz-Dateien (*.mref)|*.mref|Alle Dateien (*.*)|*.*</source>
        <translation>Reference files (*.mref)|*.mref|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Zolt-Dateien (*.zolt)|*.zolt|Referenz-Dateien (*.mref)|*.mref|Textdatei (*.txt)|*.txt</source>
        <translation>Zolt files (*.zolt)|*.zolt|Reference files (*.mref)|*.mref|Text file (*.txt)|*.txt</translation>
    </message>
    <message>
        <source>Auf die Datei &quot;%1&quot; kann nicht zugegriffen werden!</source>
        <translation>The file &quot;%1&quot; cannot be accessed!</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; ist defekt!</source>
        <translation>The file &quot;%1&quot; is corrupt!</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; ist keine Zolt-Datendatei!</source>
        <translation>The file &quot;%1&quot; is not a Zolt data file!</translation>
    </message>
    <message>
        <source>Fehler beim Lesen der Datei &quot;%1&quot;.</source>
        <translation>Error reading the file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben der Datei &quot;%1&quot;.</source>
        <translation>Error writing the file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Messungsname</source>
        <translation>Measurement name</translation>
    </message>
    <message>
        <source>Benutzername</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Passwort</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>Bitte geben Sie das gültige Passwort an, um den Wert für &quot;%1&quot; zu übernehmen:</source>
        <translation>Please enter the correct password to apply the value of &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>Passwort eingeben</source>
        <translation>Enter Password</translation>
    </message>
    <message>
        <source>Der angegebene Zeitwert führt zu einer diskontinuierlichen Messung.
Wollen Sie die Werte dennoch übernehmen?</source>
        <translation>The time value entered makes the measurement discontinuous.
Do you want to apply the values anyway?</translation>
    </message>
    <message>
        <source>Achtung: Die Anzahl der Messkanäle soll verringert werden.
Dabei können vorhandene Messdaten verloren gehen.
Wollen Sie dennoch fortfahren?</source>
        <translation>Caution: The number of measurement channels is about to be reduced.
Existing measurement data may be lost.
Do you want to continue anyway?</translation>
    </message>
    <message>
        <source>Messungsinfo</source>
        <translation>Measurement info</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Bezeichnung</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Benutzer</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Messungsdaten</source>
        <translation>Measurement data</translation>
    </message>
    <message>
        <source>Originalwert</source>
        <translation>Original value</translation>
    </message>
</context>
<context>
    <name>TReferenzFrame</name>
    <message>
        <source>Neue Referenz</source>
        <translation>New Reference</translation>
    </message>
    <message>
        <source>Referenzkurve: %1 (%2 Stützwerte)</source>
        <translation>Reference curve: %1 (%2 support points)</translation>
    </message>
</context>
<context>
    <name>TReferenzInfo</name>
    <message>
        <source>Referenzkurve</source>
        <translation>Reference curve</translation>
    </message>
    <message>
        <source>Delta positiv</source>
        <translation>Positive delta</translation>
    </message>
    <message>
        <source>Delta negativ</source>
        <translation>Negative delta</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Die geladene Kurve kann nicht als Referenzkurve verwendet werden!</source>
        <translation>The loaded curve cannot be used as a reference curve!</translation>
    </message>
</context>
<context>
    <name>TSerZolt</name>
    <message>
        <source>Die Schnittstelle %1 (%2) kann nicht geöffnet werden:
%3
Überprüfen Sie, ob das Zolt angeschlossen ist und die Schnittstelle von keinem anderen Programm benutzt wird.</source>
        <translation>The port %1 (%2) cannot be opened:
%3
Check that the Zolt is connected and that no other program is using the port.</translation>
    </message>
    <message>
        <source>Zolt-Stauts kann nicht ermittelt werden!
Überprüfen Sie, ob das Zolt korrekt angeschlossen wurde und im RAM-Modus läuft.</source>
        <translation>The Zolt status cannot be determined!
Check that the Zolt is connected correctly and running in RAM mode.</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Interner Fehler:
Die Messung kann nicht gestartet werden, da kein Datenhandler zugewiesen wurde!</source>
        <translation>Internal error:
The measurement cannot be started because no data handler has been assigned!</translation>
    </message>
    <message>
        <source>Die Verbindung zum Zolt an %1 ist unterbrochen.
Die Messung wurde angehalten.</source>
        <translation>The connection to the Zolt on %1 has been lost.
The measurement has been stopped.</translation>
    </message>
    <message>
        <source>Der Speicher des Zolt kann nicht ausgelesen werden:
%1</source>
        <translation>The memory of the Zolt cannot be read out:
%1</translation>
    </message>
    <message>
        <source>Das Zolt antwortet nicht.</source>
        <translation>The Zolt does not respond.</translation>
    </message>
    <message>
        <source>Ungültige Anzahl der Datensätze gelesen (&quot;%1&quot;).</source>
        <translation>Invalid number of records read (&quot;%1&quot;).</translation>
    </message>
    <message>
        <source>Das Zolt hat keine Datensätze für Kanal %1 geliefert.</source>
        <translation>The Zolt delivered no records for channel %1.</translation>
    </message>
    <message>
        <source>Ungültiger Datensatz %1 für Kanal %2 gelesen (&quot;%3&quot;).</source>
        <translation>Invalid record %1 read for channel %2 (&quot;%3&quot;).</translation>
    </message>
</context>
<context>
    <name>TUSBZolt</name>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Es ist kein angeschlossenes Zolt erkannt worden!</source>
        <translation>No connected Zolt has been detected!</translation>
    </message>
    <message>
        <source>Kanal</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>Verfügbare Kanäle:</source>
        <translation>Available channels:</translation>
    </message>
    <message>
        <source>Das Zolt antwortet nicht mehr. Die Messung wurde angehalten.</source>
        <translation>The Zolt no longer responds. The measurement has been stopped.</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Eine Speichermessung wird von dem eingestellten Zolt-Typen nicht unterstützt!</source>
        <translation>The selected Zolt type does not support memory measurements!</translation>
    </message>
    <message>
        <source>Ungültiger Wert für Messinterval gelesen (%1). Messung kann nicht ausgelesen werden!</source>
        <translation>Invalid measuring interval read (%1). The measurement cannot be read out!</translation>
    </message>
    <message>
        <source>Der Speicher konnte nicht vollständig ausgelesen werden (%1 von %2 Datensätzen).</source>
        <translation>The memory could not be read out completely (%1 of %2 records).</translation>
    </message>
</context>
<context>
    <name>TZolt</name>
    <message>
        <source>Daten werden aus dem Speicher ausgelesen (%1 %)</source>
        <translation>Reading data from memory (%1 %)</translation>
    </message>
</context>
<context>
    <name>ValueListModel</name>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 °C</source>
        <translation>%1 °C</translation>
    </message>
</context>
<context>
    <name>zoltctl</name>
    <message>
        <source>DATEI [--rows]</source>
        <translation>FILE [--rows]</translation>
    </message>
    <message>
        <source>zeigt die Messung als JSON (mit --rows auch jede Zeile)</source>
        <translation>shows the measurement as JSON (with --rows also every row)</translation>
    </message>
    <message>
        <source>EIN AUS</source>
        <translation>IN OUT</translation>
    </message>
    <message>
        <source>wandelt um: EIN .zolt/.mref/.json, AUS .zolt/.mref/.txt/.json</source>
        <translation>converts: IN .zolt/.mref/.json, OUT .zolt/.mref/.txt/.json</translation>
    </message>
    <message>
        <source>DATEI --adef DEF [--channel N]</source>
        <translation>FILE --adef DEF [--channel N]</translation>
    </message>
    <message>
        <source>analysiert Kanal N (ab 0) mit den Bereichen aus DEF, gibt JSON aus</source>
        <translation>analyses channel N (from 0) with the ranges of DEF, prints JSON</translation>
    </message>
    <message>
        <source>[GERÄT]</source>
        <translation>[DEVICE]</translation>
    </message>
    <message>
        <source>zeigt den Status des Zolt</source>
        <translation>shows the status of the Zolt</translation>
    </message>
    <message>
        <source>AUS [--seconds N] [GERÄT]</source>
        <translation>OUT [--seconds N] [DEVICE]</translation>
    </message>
    <message>
        <source>misst online, bis N Sekunden vergangen sind oder Strg+C; AUS .zolt/.txt/.json</source>
        <translation>measures online until N seconds have passed or Ctrl+C; OUT .zolt/.txt/.json</translation>
    </message>
    <message>
        <source>AUS [GERÄT]</source>
        <translation>OUT [DEVICE]</translation>
    </message>
    <message>
        <source>liest den Speicher des Zolt aus; AUS .zolt/.txt/.json</source>
        <translation>reads the memory of the Zolt; OUT .zolt/.txt/.json</translation>
    </message>
    <message>
        <source>0, 1 oder 2</source>
        <translation>0, 1 or 2</translation>
    </message>
    <message>
        <source>1 bis 6</source>
        <translation>1 to 6</translation>
    </message>
    <message>
        <source>Millisekunden von 1 bis 600000</source>
        <translation>milliseconds from 1 to 600000</translation>
    </message>
    <message>
        <source>Sekunden von 1 bis 2000000</source>
        <translation>seconds from 1 to 2000000</translation>
    </message>
</context>
</TS>
