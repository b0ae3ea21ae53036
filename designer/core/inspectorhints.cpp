#include "designer/core/inspectorhints.h"

#include "report/resources/kvlresources.h"

// The inspector's descriptions of properties: "prop" + name, or "prop" + name + "." + class for
// the properties of one class (its own or those of objects it holds).
QByteArray kvlInspectorHintsXML()
{
    static const char xml[] =
        R"xml(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1252">
<StrRes Name="propActive" Text="Determina se l'oggetto è attivo"/>
<StrRes Name="propActive.TkvlHighlight" Text="Determina se l'evidenziazione è attiva"/>
<StrRes Name="propAliasName" Text="Nome con cui l'origine dati appare nel report"/>
<StrRes Name="propAlign" Text="Allineamento dell'oggetto rispetto al contenitore"/>
<StrRes Name="propAlignment" Text="Allineamento del testo"/>
<StrRes Name="propAllowAllUp" Text="Permette di rilasciare tutti i pulsanti del gruppo"/>
<StrRes Name="propAllowEdit" Text="Permette di modificare il report nell'anteprima"/>
<StrRes Name="propAllowExpressions" Text="Permette le espressioni nel testo dell'oggetto"/>
<StrRes Name="propAllowGrayed" Text="Permette lo stato indeterminato della casella"/>
<StrRes Name="propAllowHTMLTags" Text="Permette i tag HTML nel testo dell'oggetto"/>
<StrRes Name="propAllowSplit" Text="Permette di dividere la banda tra due pagine"/>
<StrRes Name="propAuthor" Text="Autore del report"/>
<StrRes Name="propAutoSize.TkvlPictureView" Text="Adatta le dimensioni dell'oggetto a quelle dell'immagine"/>
<StrRes Name="propAutoWidth" Text="Adatta la larghezza dell'oggetto al testo"/>
<StrRes Name="propBackPicture" Text="Immagine di sfondo della pagina"/>
<StrRes Name="propBarType" Text="Tipo di codice a barre"/>
<StrRes Name="propBevelInner" Text="Rilievo interno del pannello"/>
<StrRes Name="propBevelOuter" Text="Rilievo esterno del pannello"/>
<StrRes Name="propBevelWidth" Text="Larghezza del rilievo"/>
<StrRes Name="propBorder" Text="Mostra il bordo dell'oggetto"/>
<StrRes Name="propBorderStyle" Text="Stile del bordo della finestra"/>
<StrRes Name="propBottomMargin" Text="Margine inferiore della pagina"/>
<StrRes Name="propBrushStyle" Text="Stile del riempimento"/>
<StrRes Name="propCalcCheckSum" Text="Calcola la cifra di controllo del codice a barre"/>
<StrRes Name="propCancel" Text="Il pulsante risponde al tasto Esc"/>
<StrRes Name="propCaption" Text="Testo mostrato dall'oggetto"/>
<StrRes Name="propCellFields" Text="Campi delle celle della tabella incrociata"/>
<StrRes Name="propCellLevels" Text="Livelli delle celle della tabella incrociata"/>
<StrRes Name="propCenter" Text="Centra l'immagine nell'oggetto"/>
<StrRes Name="propCharset" Text="Set di caratteri del font"/>
<StrRes Name="propCharSpacing" Text="Spazio aggiunto tra i caratteri"/>
<StrRes Name="propCheckColor" Text="Colore del segno di spunta"/>
<StrRes Name="propChecked" Text="Stato della casella di controllo"/>
<StrRes Name="propCheckStyle" Text="Forma del segno di spunta"/>
<StrRes Name="propChild" Text="Banda figlia stampata dopo questa banda"/>
<StrRes Name="propClipped" Text="Determines whether the text should be clipped inside the objects bounds"/>
<StrRes Name="propCollate" Text="Fascicola le copie stampate"/>
<StrRes Name="propColor.TFont" Text="Colore del testo"/>
<StrRes Name="propColor" Text="Colore dell'oggetto"/>
<StrRes Name="propColor.TkvlFrame" Text="Colore della cornice"/>
<StrRes Name="propColor.TkvlHighlight" Text="Colore di sfondo dell'evidenziazione"/>
<StrRes Name="propColumnFields" Text="Campi delle colonne della tabella incrociata"/>
<StrRes Name="propColumnGap" Text="Spazio tra le colonne"/>
<StrRes Name="propColumnLevels" Text="Livelli delle colonne della tabella incrociata"/>
<StrRes Name="propColumns" Text="Numero di colonne"/>
<StrRes Name="propColumnWidth" Text="Larghezza di una colonna"/>
<StrRes Name="propCondition" Text="Condizione di raggruppamento"/>
<StrRes Name="propCondition.TkvlHighlight" Text="Condizione che attiva l'evidenziazione"/>
<StrRes Name="propConnected" Text="Determina se la connessione è aperta"/>
<StrRes Name="propConvertNulls" Text="Converte i valori nulli in zero o stringa vuota"/>
<StrRes Name="propCopies" Text="Numero di copie da stampare"/>
<StrRes Name="propCursor" Text="Cursore del mouse sopra l'oggetto nell'anteprima"/>
<StrRes Name="propDatabaseName" Text="Nome del database"/>
<StrRes Name="propDataField" Text="Campo dell'origine dati collegato all'oggetto"/>
<StrRes Name="propDataSet" Text="Origine dati collegata all'oggetto"/>
<StrRes Name="propDate" Text="Data mostrata dall'oggetto"/>
<StrRes Name="propDateFormat" Text="Formato della data"/>
<StrRes Name="propDecimalSeparator" Text="Separatore decimale"/>
<StrRes Name="propDefault" Text="Il pulsante risponde al tasto Invio"/>
<StrRes Name="propDefHeight" Text="Altezza predefinita della riga"/>
<StrRes Name="propDescription.TkvlReportOptions" Text="Descrizione del report"/>
<StrRes Name="propDescription" Text="Descrizione dell'oggetto"/>
<StrRes Name="propDiagonal" Text="Determina se la linea è diagonale"/>
<StrRes Name="propDisplayFormat" Text="Formato di visualizzazione dei valori"/>
<StrRes Name="propDoublePass" Text="Prepara il report in due passaggi"/>
<StrRes Name="propDown" Text="Stato premuto del pulsante"/>
<StrRes Name="propDownThenAcross" Text="Stampa le colonne dall'alto in basso e poi da sinistra a destra"/>
<StrRes Name="propDriverName" Text="Nome del driver del database"/>
<StrRes Name="propDropShadow" Text="Disegna un'ombra sotto l'oggetto"/>
<StrRes Name="propDuplex" Text="Modalità di stampa fronte retro"/>
<StrRes Name="propEditMask" Text="Maschera di inserimento"/>
<StrRes Name="propEnabled" Text="Determina se il controllo è abilitato"/>
<StrRes Name="propEngineOptions" Text="Opzioni del motore del report"/>
<StrRes Name="propExpression" Text="Espressione calcolata dall'oggetto"/>
<StrRes Name="propExpressionDelimiters" Text="Caratteri che delimitano le espressioni nel testo"/>
<StrRes Name="propFieldAliases" Text="Nomi alternativi dei campi"/>
<StrRes Name="propFilter" Text="Filtro applicato ai record"/>
<StrRes Name="propFiltered" Text="Determina se il filtro è applicato"/>
<StrRes Name="propFlowTo" Text="Oggetto in cui continua il testo che non entra"/>
<StrRes Name="propFont" Text="Font dell'oggetto"/>
<StrRes Name="propFooterAfterEach" Text="Stampa il piè di pagina dopo ogni record"/>
<StrRes Name="propFormatStr" Text="Stringa di formato"/>
<StrRes Name="propFrame" Text="Cornice dell'oggetto"/>
<StrRes Name="propGapX" Text="Distanza orizzontale del testo dal bordo"/>
<StrRes Name="propGapY" Text="Distanza verticale del testo dal bordo"/>
<StrRes Name="propGlyph" Text="Immagine del pulsante"/>
<StrRes Name="propGroupIndex" Text="Gruppo dei pulsanti che si escludono a vicenda"/>
<StrRes Name="propHAlign" Text="Allineamento orizzontale del testo"/>
<StrRes Name="propHeight" Text="Altezza dell'oggetto"/>
<StrRes Name="propHideZeros" Text="Nasconde i valori zero"/>
<StrRes Name="propHighlight" Text="Evidenziazione condizionale dell'oggetto"/>
<StrRes Name="propIndexName" Text="Nome dell'indice della tabella"/>
<StrRes Name="propInitString" Text="Stringa di inizializzazione della stampante"/>
<StrRes Name="propItems" Text="Voci dell'elenco"/>
<StrRes Name="propKeepAspectRatio" Text="Mantiene le proporzioni dell'immagine"/>
<StrRes Name="propKeepChild" Text="Stampa la banda figlia sulla stessa pagina"/>
<StrRes Name="propKeepFooter" Text="Stampa il piè di pagina con l'ultimo record"/>
<StrRes Name="propKeepHeader" Text="Stampa l'intestazione con il primo record"/>
<StrRes Name="propKeepTogether" Text="Stampa il gruppo su una sola pagina"/>
<StrRes Name="propKind.TkvlFormat" Text="Tipo di formato"/>
<StrRes Name="propKind" Text="Tipo dell'oggetto"/>
<StrRes Name="propLargeDesignHeight" Text="Pagina più alta in fase di progettazione"/>
<StrRes Name="propLayout" Text="Disposizione dell'immagine rispetto al testo"/>
<StrRes Name="propLeft" Text="Coordinate di sinistra dell'oggetto"/>
<StrRes Name="propLeftMargin" Text="Margine sinistro della pagina"/>
<StrRes Name="propLines" Text="Righe di testo"/>
<StrRes Name="propLineSpacing" Text="Spazio tra le righe"/>
<StrRes Name="propLoginPrompt" Text="Chiede nome utente e password alla connessione"/>
<StrRes Name="propMargin" Text="Margine interno"/>
<StrRes Name="propMaster" Text="Origine dati principale"/>
<StrRes Name="propMasterFields" Text="Campi di collegamento con l'origine dati principale"/>
<StrRes Name="propMaxLength" Text="Numero massimo di caratteri"/>
<StrRes Name="propMaxWidth" Text="Larghezza massima dell'oggetto"/>
<StrRes Name="propMemo" Text="Testo dell'oggetto"/>
<StrRes Name="propMinWidth" Text="Larghezza minima dell'oggetto"/>
<StrRes Name="propMirrorMargins" Text="Scambia i margini nelle pagine pari"/>
<StrRes Name="propModalResult" Text="Risultato restituito dal pulsante"/>
<StrRes Name="propName.TFont" Text="Nome del font"/>
<StrRes Name="propName.TkvlReportOptions" Text="Nome del report"/>
<StrRes Name="propName" Text="Nome dell'oggetto"/>
<StrRes Name="propNumGlyphs" Text="Numero di immagini del pulsante"/>
<StrRes Name="propOpenDataSource" Text="Apre l'origine dati all'avvio"/>
<StrRes Name="propOrientation" Text="Orientamento della pagina"/>
<StrRes Name="propOutlineText" Text="Testo della struttura del report"/>
<StrRes Name="propOutlineVisible" Text="Mostra la struttura nell'anteprima"/>
<StrRes Name="propOutlineWidth" Text="Larghezza della struttura nell'anteprima"/>
<StrRes Name="propPageNumbers.TkvlPrintOptions" Text="Pagine da stampare"/>
<StrRes Name="propPaperHeight" Text="Altezza del foglio"/>
<StrRes Name="propPaperWidth" Text="Larghezza del foglio"/>
<StrRes Name="propParagraphGap" Text="Rientro della prima riga del paragrafo"/>
<StrRes Name="propParams" Text="Parametri della query"/>
<StrRes Name="propParentFont" Text="Usa il font del contenitore"/>
<StrRes Name="propPassword" Text="Password"/>
<StrRes Name="propPasswordChar" Text="Carattere mostrato al posto del testo"/>
<StrRes Name="propPicture" Text="Immagine dell'oggetto"/>
<StrRes Name="propPicture.TkvlReportOptions" Text="Immagine di anteprima del report"/>
<StrRes Name="propPosition" Text="Posizione dell'oggetto"/>
<StrRes Name="propPreviewOptions" Text="Opzioni dell'anteprima"/>
<StrRes Name="propPrintable" Text="Determina se l'oggetto viene stampato"/>
<StrRes Name="propPrintChildIfInvisible" Text="Stampa la banda figlia anche se questa banda è invisibile"/>
<StrRes Name="propPrinter" Text="Stampante del report"/>
<StrRes Name="propPrintIfDetailEmpty" Text="Stampa la banda anche se i dettagli sono vuoti"/>
<StrRes Name="propPrintIfEmpty" Text="Stampa il report anche senza dati"/>
<StrRes Name="propPrintOnFirstPage" Text="Stampa la banda sulla prima pagina"/>
<StrRes Name="propPrintOnLastPage" Text="Stampa la banda sull'ultima pagina"/>
<StrRes Name="propPrintOnParent" Text="Stampa il sottoreport sulla banda che lo contiene"/>
<StrRes Name="propPrintOnPreviousPage" Text="Stampa la pagina sullo spazio libero della precedente"/>
<StrRes Name="propPrintOptions" Text="Opzioni di stampa"/>
<StrRes Name="propPrintPages" Text="Pagine da stampare: tutte, pari o dispari"/>
<StrRes Name="propRangeBegin" Text="Primo record da stampare"/>
<StrRes Name="propRangeEnd" Text="Ultimo record da stampare"/>
<StrRes Name="propRangeEndCount" Text="Numero di record da stampare"/>
<StrRes Name="propReadOnly" Text="Il testo non può essere modificato"/>
<StrRes Name="propRepeatHeaders" Text="Ripete le intestazioni su ogni pagina"/>
<StrRes Name="propReportOptions" Text="Opzioni del report"/>
<StrRes Name="propReprintOnNewPage" Text="Ristampa la banda su ogni nuova pagina"/>
<StrRes Name="propRestrictions" Text="Limitazioni di modifica dell'oggetto"/>
<StrRes Name="propRightMargin" Text="Margine destro della pagina"/>
<StrRes Name="propRotation.TkvlBarCodeView" Text="Rotazione del codice a barre"/>
<StrRes Name="propRotation" Text="Rotazione del testo"/>
<StrRes Name="propRowCount" Text="Numero di righe"/>
<StrRes Name="propRowFields" Text="Campi delle righe della tabella incrociata"/>
<StrRes Name="propRowLevels" Text="Livelli delle righe della tabella incrociata"/>
<StrRes Name="propRTLReading" Text="Testo da destra a sinistra"/>
<StrRes Name="propSessionName" Text="Nome della sessione"/>
<StrRes Name="propShadowColor" Text="Colore dell'ombra"/>
<StrRes Name="propShadowWidth" Text="Larghezza dell'ombra"/>
<StrRes Name="propShape" Text="Forma dell'oggetto"/>
<StrRes Name="propShiftMode" Text="Modo di spostamento dell'oggetto quando gli oggetti sopra crescono"/>
<StrRes Name="propShowColumnHeader" Text="Mostra l'intestazione delle colonne"/>
<StrRes Name="propShowColumnTotal" Text="Mostra il totale delle colonne"/>
<StrRes Name="propShowRowHeader" Text="Mostra l'intestazione delle righe"/>
<StrRes Name="propShowRowTotal" Text="Mostra il totale delle righe"/>
<StrRes Name="propShowDialog" Text="Mostra la finestra di stampa"/>
<StrRes Name="propShowText" Text="Mostra il testo sotto il codice a barre"/>
<StrRes Name="propSize" Text="Dimensione del font"/>
<StrRes Name="propSorted" Text="Ordina le voci"/>
<StrRes Name="propSpacing" Text="Spazio tra immagine e testo"/>
<StrRes Name="propSQL" Text="Testo della query SQL"/>
<StrRes Name="propStartNewPage" Text="Inizia una nuova pagina"/>
<StrRes Name="propStretch" Text="Adatta l'immagine alle dimensioni dell'oggetto"/>
<StrRes Name="propStretched" Text="Adatta l'altezza dell'oggetto al contenuto"/>
<StrRes Name="propStretchMode" Text="Modo in cui l'oggetto si allunga"/>
<StrRes Name="propStyle.TFont" Text="Stile del font"/>
<StrRes Name="propStyle" Text="Stile dell'oggetto"/>
<StrRes Name="propStyle.TkvlFrame" Text="Stile della cornice"/>
<StrRes Name="propSuppressRepeated" Text="Non stampa i valori ripetuti"/>
<StrRes Name="propTableName" Text="Nome della tabella"/>
<StrRes Name="propTag" Text="Numero libero a disposizione"/>
<StrRes Name="propTagStr" Text="Testo libero a disposizione"/>
<StrRes Name="propText" Text="Testo dell'oggetto"/>
<StrRes Name="propTitleBeforeHeader" Text="Stampa il titolo prima dell'intestazione di pagina"/>
<StrRes Name="propTop" Text="Coordinata superiore dell'oggetto"/>
<StrRes Name="propTopMargin" Text="Margine superiore della pagina"/>
<StrRes Name="propTyp" Text="Tipo di linea o di forma"/>
<StrRes Name="propUnderlines" Text="Sottolinea ogni riga del testo"/>
<StrRes Name="propURL" Text="Collegamento ipertestuale"/>
<StrRes Name="propUserName" Text="Nome utente"/>
<StrRes Name="propVAlign" Text="Allineamento verticale del testo"/>
<StrRes Name="propVersionBuild" Text="Numero di build del report"/>
<StrRes Name="propVersionMajor" Text="Versione principale del report"/>
<StrRes Name="propVersionMinor" Text="Versione secondaria del report"/>
<StrRes Name="propVersionRelease" Text="Numero di rilascio del report"/>
<StrRes Name="propVisible" Text="Determina se l'oggetto è visibile"/>
<StrRes Name="propWidth" Text="Larghezza dell'oggetto"/>
<StrRes Name="propWidth.TkvlFrame" Text="Larghezza della cornice"/>
<StrRes Name="propWindowState" Text="Stato della finestra"/>
<StrRes Name="propWordBreak" Text="Divide le parole lunghe"/>
<StrRes Name="propWordWrap" Text="Manda a capo il testo"/>
<StrRes Name="propZoom.TkvlBarCodeView" Text="Ingrandimento del codice a barre"/>
<StrRes Name="propConnectionName" Text="Nome della connessione"/>
<StrRes Name="propCurve" Text="Curvatura degli angoli"/>
<StrRes Name="propDrillDown" Text="Permette di aprire e chiudere il gruppo nell'anteprima"/>
<StrRes Name="propFontStyle" Text="Stile del font"/>
<StrRes Name="propHideIfSingleDataRecord" Text="Nasconde la banda se c'è un solo record"/>
<StrRes Name="propOutlineExpand" Text="Espande la struttura nell'anteprima"/>
<StrRes Name="propPlainCells" Text="Celle semplici"/>
<StrRes Name="propPrintMode" Text="Modo di stampa"/>
<StrRes Name="propPrintOnSheet" Text="Formato del foglio su cui stampare"/>
<StrRes Name="propResetPageNumbers" Text="Ricomincia la numerazione delle pagine"/>
<StrRes Name="propReverse" Text="Stampa le pagine in ordine inverso"/>
<StrRes Name="propShowFooterIfDrillDown" Text="Mostra il piè di gruppo anche con il gruppo chiuso"/>
<StrRes Name="propSizeMode" Text="Modo di adattamento della dimensione"/>
<StrRes Name="propVersion" Text="Versione"/>
<StrRes Name="propWideBarRatio" Text="Rapporto tra barre larghe e strette"/>
<StrRes Name="propWysiwyg" Text="Disegna il testo come verrà stampato"/>
<StrRes Name="propArrowEnd" Text="Freccia alla fine della linea"/>
<StrRes Name="propArrowLength" Text="Lunghezza della freccia"/>
<StrRes Name="propArrowSolid" Text="Freccia piena"/>
<StrRes Name="propArrowStart" Text="Freccia all'inizio della linea"/>
<StrRes Name="propArrowWidth" Text="Larghezza della freccia"/>
<StrRes Name="propCloseDataSource" Text="Chiude l'origine dati alla fine"/>
<StrRes Name="propDatabase" Text="Database"/>
<StrRes Name="propIndexFieldNames" Text="Campi dell'indice"/>
<StrRes Name="propCommandTimeOut" Text="Tempo massimo di esecuzione del comando"/>
<StrRes Name="propExpandDrillDown" Text="Apre tutti i gruppi all'inizio"/>
<StrRes Name="propWysiwyg.TkvlMemoView" Text="Disegna il testo come verrà stampato"/>
<StrRes Name="propLeftLine" Text="Linea sinistra della cornice"/>
<StrRes Name="propTopLine" Text="Linea superiore della cornice"/>
<StrRes Name="propRightLine" Text="Linea destra della cornice"/>
<StrRes Name="propBottomLine" Text="Linea inferiore della cornice"/>
<StrRes Name="propColor.TkvlFrameLine" Text="The color of the frame line"/>
<StrRes Name="propStyle.TkvlFrameLine" Text="Stile della linea della cornice"/>
<StrRes Name="propWidth.TkvlFrameLine" Text="Larghezza della linea della cornice"/>
<StrRes Name="propFileLink" Text="File o espressione da cui leggere l'immagine"/>
<StrRes Name="propEndlessWidth" Text="Pagina senza limite di larghezza"/>
<StrRes Name="propEndlessHeight" Text="Pagina senza limite di altezza"/>
<StrRes Name="propAddHeight" Text="Altezza aggiunta alle celle"/>
<StrRes Name="propAddWidth" Text="Larghezza aggiunta alle celle"/>
<StrRes Name="propAllowDuplicates" Text="Permette valori ripetuti"/>
<StrRes Name="propJoinEqualCells" Text="Unisce le celle uguali"/>
<StrRes Name="propNextCross" Text="Tabella incrociata successiva"/>
<StrRes Name="propNextCrossGap" Text="Spazio dalla tabella incrociata successiva"/>
<StrRes Name="propShowCorner" Text="Mostra l'angolo della tabella"/>
<StrRes Name="propSuppressNullRecords" Text="Non stampa i record vuoti"/>
<StrRes Name="propShowTitle" Text="Mostra il titolo"/>
<StrRes Name="propAutoSize" Text="Adatta le dimensioni dell'oggetto al contenuto"/>
<StrRes Name="propShowHint" Text="Mostra il suggerimento"/>
<StrRes Name="propHint" Text="Suggerimento mostrato sopra l'oggetto"/>
<StrRes Name="propPaperSize" Text="Formato del foglio"/>
<StrRes Name="propPageCount" Text="Numero di pagine"/>
<StrRes Name="propBackPictureVisible" Text="Mostra l'immagine di sfondo"/>
<StrRes Name="propBackPicturePrintable" Text="Stampa l'immagine di sfondo"/>
<StrRes Name="propHightQuality" Text="Immagine ad alta qualità"/>
<StrRes Name="propLockType" Text="Tipo di blocco dei record"/>
<StrRes Name="propIgnoreDupParams" Text="Ignora i parametri ripetuti"/>
<StrRes Name="propTransparent" Text="Sfondo trasparente"/>
<StrRes Name="propTransparentColor" Text="Colore trattato come trasparente"/>
<StrRes Name="propIgnoreNulls" Text="Ignora i valori nulli"/>
<StrRes Name="propShowClildIfDrillDown" Text="Mostra la banda figlia anche con il gruppo chiuso"/>
</Resources>)xml";
    return QByteArray(xml);
}

void kvlAddInspectorHints()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    kvlResources().AddXML(kvlInspectorHintsXML());
}
